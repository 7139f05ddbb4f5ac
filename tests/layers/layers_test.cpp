// The layers as the build links them: a source file includes a header of another folder only
// when the targets that compile it link (directly or through what they link) a target made
// from that other folder; a header may include what the targets compiling the files beside it
// may. The links are read from the build (link_graph.txt, which CMake writes), not written down
// here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Target {
    std::string folder;                    // the source tree's top folder it is made from
    std::vector<std::string> sourceFiles;  // relative to the source tree
    std::vector<std::string> links;
};

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> items;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ';');) {
        items.push_back(item);
    }
    return items;
}

std::map<std::string, Target> ReadLinkGraph(const std::string& path) {
    std::map<std::string, Target> targets;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string name, folder, sourceFiles, links;
        std::getline(fields, name, '\t');
        std::getline(fields, folder, '\t');
        std::getline(fields, sourceFiles, '\t');
        std::getline(fields, links);
        targets[name] = {folder, Split(sourceFiles), Split(links)};
    }
    return targets;
}

// The folders a target may include from: its own, and those of every target it links,
// however far down.
std::set<std::string> FoldersLinkedFrom(const std::map<std::string, Target>& targets,
                                        const std::string& start) {
    std::set<std::string> folders;
    std::set<std::string> seen;
    std::vector<std::string> pending{start};
    while (!pending.empty()) {
        const auto found = targets.find(pending.back());
        pending.pop_back();
        if (found == targets.end() || !seen.insert(found->first).second) {
            continue;  // a target from outside the project (Qt, GoogleTest), or one met already
        }
        folders.insert(found->second.folder);
        pending.insert(pending.end(), found->second.links.begin(), found->second.links.end());
    }
    return folders;
}

// The folders whose headers a file includes ("#include "folder/....h""). A data file a folder
// compiles in, such as an icon, is no library's header.
std::vector<std::string> IncludedFolders(const fs::path& file) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^"/]+)/[^"]*\.h")");
    std::vector<std::string> folders;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_search(line, match, include)) {
            folders.push_back(match[1].str());
        }
    }
    return folders;
}

// What each file of the build may include from: a source file what the targets compiling it
// link (and the folders of what they compile), a header what the targets compiling the files
// beside it may.
std::map<std::string, std::set<std::string>> AllowedFolders(
    const std::map<std::string, Target>& targets) {
    std::map<std::string, std::set<std::string>> allowed;
    const fs::path root(TAVLO_SOURCE_DIR);
    for (const auto& [name, target] : targets) {
        std::set<std::string> linked = FoldersLinkedFrom(targets, name);
        // A target that compiles a file of another folder itself (a generator that takes one
        // file of the library it cannot link) may use that folder's headers too.
        for (const std::string& source : target.sourceFiles) {
            linked.insert(source.substr(0, source.find('/')));
        }
        for (const std::string& source : target.sourceFiles) {
            allowed[source].insert(linked.begin(), linked.end());
            const fs::path folder = fs::path(source).parent_path();
            for (const auto& entry : fs::directory_iterator(root / folder)) {
                if (entry.path().extension() == ".h") {
                    const std::string header = (folder / entry.path().filename()).generic_string();
                    allowed[header].insert(linked.begin(), linked.end());
                }
            }
        }
    }
    return allowed;
}

TEST(Layers, EveryFileIncludesOnlyFromWhatItsTargetsLink) {
    const std::map<std::string, Target> targets = ReadLinkGraph(TAVLO_LINK_GRAPH);
    ASSERT_FALSE(targets.empty()) << "no link graph at " << TAVLO_LINK_GRAPH;
    std::set<std::string> layers;  // only the folders the build makes targets of are layers
    for (const auto& [name, target] : targets) {
        layers.insert(target.folder);
    }
    int checked = 0;
    for (const auto& [file, folders] : AllowedFolders(targets)) {
        for (const std::string& from : IncludedFolders(fs::path(TAVLO_SOURCE_DIR) / file)) {
            if (layers.count(from) != 0) {
                ++checked;
                EXPECT_TRUE(folders.count(from) != 0)
                    << file << " includes a header of " << from << "/, but no target that "
                    << "compiles it (or the files beside it) links one made from " << from << "/";
            }
        }
    }
    EXPECT_GT(checked, 100);  // the files were read
}

}  // namespace
