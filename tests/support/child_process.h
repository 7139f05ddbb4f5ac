#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tavlo::test {

// Runs `body` in a forked copy of the test process and returns the text it produced, so a test
// can change process-wide limits (file size, memory) or the user it runs as without touching the
// test runner. The body must not use test assertions; it describes what it saw instead.
// With `unprivileged`, a child of the administrator first becomes the user "nobody", so that
// file permissions apply to it; nullopt when that is not possible.
std::optional<std::string> RunInChild(const std::function<std::string()>& body,
                                      bool unprivileged = false);

// The user id an unprivileged child runs as (ours when we are not the administrator).
unsigned UnprivilegedUserId();

}  // namespace tavlo::test
