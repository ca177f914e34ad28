#pragma once

namespace vimbrel::about {

// The texts of the version box, the same in every window.
inline constexpr const char* kCaption = "バージョン情報";
inline constexpr const char* kProductName = "Vimbrel";
inline constexpr const char* kVersion = "Ver0.90b";

struct Row
{
    const char* caption;
    const char* value;
};
inline constexpr Row kRows[] = {{"Name", "： Vimbrel Project"},
                                {"Create", "： 01/06/11"},
                                {"Updａｔｅ", "： 01/09/28"},
                                {"取り扱い", "： Free"}};

} // namespace vimbrel::about
