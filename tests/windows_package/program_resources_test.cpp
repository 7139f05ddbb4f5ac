// What the two Windows programs carry for Windows itself, read from the built files as Explorer
// reads them: the icon in every size a screen asks for, and a version resource of each
// program's own; the command-line program carries no copy of the window's help.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace tavlo::test {
namespace {

// The resource types, as the W functions take them.
const LPCWSTR kIcon = MAKEINTRESOURCEW(3);
const LPCWSTR kBitmap = MAKEINTRESOURCEW(2);
const LPCWSTR kGroupIcon = MAKEINTRESOURCEW(14);

// One image of an icon file: its directory entry and its bytes.
struct IconImage {
    int width;
    int height;
    int bits;
    std::string bytes;
};

unsigned Number(const std::string& bytes, std::size_t at, int size) {
    unsigned value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

std::vector<IconImage> ImagesOf(const std::string& file) {
    std::vector<IconImage> images;
    for (unsigned i = 0; i < Number(file, 4, 2); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int width = static_cast<int>(Number(file, entry, 1));
        const int height = static_cast<int>(Number(file, entry + 1, 1));
        images.push_back({width == 0 ? 256 : width, height == 0 ? 256 : height,
                          static_cast<int>(Number(file, entry + 6, 2)),
                          file.substr(Number(file, entry + 12, 4), Number(file, entry + 8, 4))});
    }
    return images;
}

class ProgramFile {
public:
    explicit ProgramFile(const char* path)
        : path_(PathOf(path).wstring()),
          module_(LoadLibraryExW(path_.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramFile() { FreeLibrary(module_); }
    HMODULE Module() const { return module_; }

    std::string Resource(LPCWSTR name, LPCWSTR type) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) {
            return {};
        }
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    // A text of the version resource, as Explorer's file properties show it.
    std::wstring VersionText(const std::wstring& key) const {
        DWORD ignored = 0;
        std::vector<char> block(GetFileVersionInfoSizeW(path_.c_str(), &ignored));
        void* value = nullptr;
        UINT length = 0;
        if (block.empty() ||
            !GetFileVersionInfoW(path_.c_str(), 0, static_cast<DWORD>(block.size()),
                                 block.data()) ||
            !VerQueryValueW(block.data(), (L"\\StringFileInfo\\040904b0\\" + key).c_str(), &value,
                            &length)) {
            return L"(none)";
        }
        return static_cast<const wchar_t*>(value);
    }

private:
    std::wstring path_;
    HMODULE module_;
};

// The icon file holds the sizes screens ask for at 100 to 200 % and the large one Explorer shows,
// with the 16-colour 32 x 32 image among them; each program carries every image as it is, and
// Windows makes an icon of the right size from each, the PNG-compressed ones included.
TEST(WindowsPrograms, CarryTheIconInEverySize) {
    const std::vector<IconImage> images = ImagesOf(ReadFile(TAVLO_ICON_FILE));
    std::set<int> sizes;
    bool sixteenColours = false;
    for (const IconImage& image : images) {
        sizes.insert(image.width);
        sixteenColours |= image.width == 32 && image.bits == 4;
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 256}));
    EXPECT_TRUE(sixteenColours);

    for (const char* path : {TAVLO_EXE_PATH, TAVLO_CLI_PATH}) {
        SCOPED_TRACE(path);
        const ProgramFile program(path);
        ASSERT_NE(program.Module(), nullptr);
        std::string group = program.Resource(MAKEINTRESOURCEW(129), kGroupIcon);
        ASSERT_EQ(Number(group, 4, 2), images.size());
        for (std::size_t i = 0; i < images.size(); ++i) {
            // GRPICONDIRENTRY: 14 bytes, the image's resource number last.
            const std::size_t entry = 6 + 14 * i;
            const int id = static_cast<int>(Number(group, entry + 12, 2));
            EXPECT_EQ(program.Resource(MAKEINTRESOURCEW(id), kIcon), images[i].bytes) << i;
        }
        for (const int size : sizes) {
            SCOPED_TRACE(size);
            const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(group.data()), TRUE,
                                                       size, size, LR_DEFAULTCOLOR);
            std::string bytes = program.Resource(MAKEINTRESOURCEW(id), kIcon);
            HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(bytes.data()),
                                                  static_cast<DWORD>(bytes.size()), TRUE,
                                                  0x00030000, size, size, LR_DEFAULTCOLOR);
            ASSERT_NE(icon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour{};
            GetObjectW(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

// Explorer names each program by its own version resource; both say the same version. The help
// page and its pictures and the default settings file belong to the window alone.
TEST(WindowsPrograms, TheCommandLineProgramHasItsOwnVersionAndNoHelp) {
    const ProgramFile window(TAVLO_EXE_PATH);
    const ProgramFile commandLine(TAVLO_CLI_PATH);
    EXPECT_EQ(window.VersionText(L"OriginalFilename"), L"Tavlo.EXE");
    EXPECT_EQ(commandLine.VersionText(L"OriginalFilename"), L"tavlo-cli.exe");
    EXPECT_NE(commandLine.VersionText(L"FileDescription"), window.VersionText(L"FileDescription"));
    EXPECT_NE(commandLine.VersionText(L"FileDescription"), L"(none)");
    EXPECT_EQ(commandLine.VersionText(L"ProductVersion"), window.VersionText(L"ProductVersion"));

    const struct {
        LPCWSTR name;
        LPCWSTR type;
    } windowOnly[] = {{L"INDEX.HTM", MAKEINTRESOURCEW(23)},
                      {L"SCREEN1.GIF", L"IMG"},
                      {L"ZERTXTR.GIF", L"IMG"},
                      {L"TAVLO.CFG", L"RT_TAVLO"}};
    for (const auto& resource : windowOnly) {
        SCOPED_TRACE(std::string(resource.name, resource.name + wcslen(resource.name)));
        EXPECT_FALSE(window.Resource(resource.name, resource.type).empty());
        EXPECT_TRUE(commandLine.Resource(resource.name, resource.type).empty());
    }
    // What tavlo-cli preview draws on.
    EXPECT_FALSE(commandLine.Resource(MAKEINTRESOURCEW(132), kBitmap).empty());
}

}  // namespace
}  // namespace tavlo::test
