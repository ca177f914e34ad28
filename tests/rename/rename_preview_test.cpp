// The preview of 実行: the renames the run would make, and the files it
// would leave alone, each with why.
#include "rename/rename_preview.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::TempFolder;
using Reason = RenameRun::SkipReason;

std::vector<std::string> renamesOf(const RenamePreview& preview)
{
    std::vector<std::string> lines;
    for (const RenamePreview::Rename& rename : preview.renames) {
        lines.push_back(rename.oldName + " -> " + rename.newName);
    }
    return lines;
}

TEST(RenamePreviewTest, SaysWhatWouldBeRenamedAndWhatLeftAloneAndWhy)
{
    TempFolder folder;
    for (const char* name : {"a.jpg", "b.jpg", "Pic0002.jpg", "memo.txt"}) {
        folder.write(name, name);
    }
    Options options;
    options.EditFHead = "Pic";
    options.ChkAutoNum = false;
    options.ChkFSel = true;
    const RenamePreview preview = previewRename(options, folder.path());
    // b.jpg's new name is taken, so it stays; Pic0002.jpg moves on.
    EXPECT_EQ(renamesOf(preview),
              (std::vector<std::string>{"a.jpg -> Pic0001.jpg", "Pic0002.jpg -> Pic0003.jpg"}));
    ASSERT_EQ(preview.skipped.size(), 2u);
    EXPECT_EQ(preview.skipped[0].name, "memo.txt");
    EXPECT_EQ(preview.skipped[0].reason, Reason::NotAPicture);
    EXPECT_EQ(preview.skipped[1].name, "b.jpg");
    EXPECT_EQ(preview.skipped[1].reason, Reason::NameTaken);
    EXPECT_EQ(preview.message, "3 ファイルを更新しました。");
    // Nothing on disk changed.
    EXPECT_TRUE(fs::isFile(folder / "a.jpg"));
    EXPECT_FALSE(fs::isFile(folder / "Pic0001.jpg"));
}

TEST(RenamePreviewTest, APrefixThatIsNoFileNameSkipsEveryFileAndNoFolderPlansNothing)
{
    TempFolder folder;
    folder.write("a.jpg", "x");
    Options options;
    options.EditFHead = "x/y";
    const RenamePreview refused = previewRename(options, folder.path());
    EXPECT_TRUE(refused.renames.empty());
    ASSERT_EQ(refused.skipped.size(), 1u);
    EXPECT_EQ(refused.skipped[0].reason, Reason::NameRefused);

    const RenamePreview none = previewRename(Options(), "");
    EXPECT_TRUE(none.renames.empty());
    EXPECT_TRUE(none.skipped.empty());
}

} // namespace
} // namespace vimbrel
