#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The test classes of this executable. Each one registers itself; main runs all of them, or the
// one named by the first argument (CTest runs them one by one).
namespace tavlo::test {

struct RegisteredTest {
    std::string name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<RegisteredTest>& RegisteredTests();

template <typename TestClass>
bool RegisterTest(const char* name) {
    RegisteredTests().push_back({name, [] { return std::make_unique<TestClass>(); }});
    return true;
}

}  // namespace tavlo::test

#define TAVLO_REGISTER_TEST(TestClass) \
    static const bool registered##TestClass = tavlo::test::RegisterTest<TestClass>(#TestClass)
