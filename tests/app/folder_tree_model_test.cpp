#include "app/main_window/folder_tree_model.h"

#include <filesystem>

#include <QSignalSpy>
#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

class FolderTreeModelTest : public ::testing::Test
{
protected:
    TempFolder folder;
    // The model with one place, the temporary folder, captioned "place".
    FolderTreeModel model{{{"place", folder.path().substr(0, folder.path().size() - 1)}}};

    QModelIndex place() { return model.childByCaption(model.rootItem(), "place"); }

    std::vector<std::string> captionsBelow(const QModelIndex& parent)
    {
        if (model.canFetchMore(parent)) {
            model.fetchMore(parent);
        }
        std::vector<std::string> captions;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            captions.push_back(model.caption(model.index(row, 0, parent)));
        }
        return captions;
    }
};

TEST_F(FolderTreeModelTest, ShowsFoldersOnlyInNameOrderWithoutHiddenOnes)
{
    folder.makeFolder("beta");
    folder.makeFolder("Alpha");
    folder.makeFolder(".hidden");
    folder.write("file.jpg", "x");
    EXPECT_EQ(model.caption(model.rootItem()), kTreeRootCaption);
    EXPECT_EQ(model.folderPath(model.rootItem()), "");
    EXPECT_EQ(captionsBelow(place()), (std::vector<std::string>{"Alpha", "beta"}));
    const QModelIndex beta = model.childByCaption(place(), "beta");
    EXPECT_EQ(model.folderPath(beta), folder / "beta");
    EXPECT_FALSE(model.childByCaption(place(), "BETA").isValid());
    EXPECT_FALSE(model.flags(model.rootItem()) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(place()) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(beta) & Qt::ItemIsEditable);
}

TEST_F(FolderTreeModelTest, AFolderThatCannotBeListedHasNoChildren)
{
    FolderTreeModel missing{{{"gone", folder / "missing"}}};
    const QModelIndex gone = missing.childByCaption(missing.rootItem(), "gone");
    ASSERT_TRUE(gone.isValid());
    missing.fetchMore(gone);
    EXPECT_EQ(missing.rowCount(gone), 0);
    EXPECT_FALSE(missing.hasChildren(gone));
}

TEST_F(FolderTreeModelTest, RenamingRenamesTheFolderAndEverythingListedBelowIt)
{
    folder.makeFolder("old/inner");
    const QModelIndex old = model.childByCaption(place(), "old");
    const QModelIndex inner = model.childByCaption(old, "inner");
    QSignalSpy renamed(&model, &FolderTreeModel::folderRenamed);
    ASSERT_TRUE(model.setData(old, QStringLiteral("new")));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "new/inner"));
    EXPECT_FALSE(std::filesystem::exists(folder / "old"));
    EXPECT_EQ(model.caption(old), "new");
    EXPECT_EQ(model.folderPath(inner), folder / "new/inner");
    EXPECT_EQ(renamed.count(), 1);
}

TEST_F(FolderTreeModelTest, RefusedNamesLeaveTheDiskAlone)
{
    folder.makeFolder("one");
    folder.write("two/keep.txt", "kept");
    const QModelIndex one = model.childByCaption(place(), "one");
    QSignalSpy refused(&model, &FolderTreeModel::renameRefused);
    for (const char* name : {"two", "a/b", "", ".", ".."}) {
        EXPECT_FALSE(model.setData(one, QString::fromUtf8(name))) << name;
    }
    EXPECT_EQ(refused.count(), 5);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "one"));
    EXPECT_EQ(testing::readFile(folder / "two/keep.txt"), "kept");
    EXPECT_EQ(model.caption(one), "one");
    // The same name again is no rename and no refusal.
    EXPECT_TRUE(model.setData(one, QStringLiteral("one")));
    EXPECT_EQ(refused.count(), 5);
}

TEST_F(FolderTreeModelTest, RefreshKeepsTheItemsThatStillExist)
{
    folder.makeFolder("b/deep");
    folder.makeFolder("d");
    const QModelIndex b = model.childByCaption(place(), "b");
    const QPersistentModelIndex deep = model.childByCaption(b, "deep");
    folder.makeFolder("a");
    folder.makeFolder("c");
    std::filesystem::remove(folder / "d");
    EXPECT_EQ(captionsBelow(place()), (std::vector<std::string>{"b", "d"})); // no watching
    model.refresh(place());
    EXPECT_EQ(captionsBelow(place()), (std::vector<std::string>{"a", "b", "c"}));
    ASSERT_TRUE(deep.isValid());
    EXPECT_EQ(model.folderPath(deep), folder / "b/deep");
}

TEST_F(FolderTreeModelTest, RefreshPutsARenamedItemInItsPlace)
{
    folder.makeFolder("a");
    folder.makeFolder("m");
    const QPersistentModelIndex a = model.childByCaption(place(), "a");
    ASSERT_TRUE(model.setData(a, QStringLiteral("z")));
    model.refresh(place());
    EXPECT_EQ(captionsBelow(place()), (std::vector<std::string>{"m", "z"}));
    EXPECT_EQ(model.caption(a), "z");
}

TEST(FolderTreePlacesTest, SystemMountsAreLeftOut)
{
    for (const char* path : {"/", "/proc", "/sys/fs/cgroup", "/dev/shm", "/run/user/0", "/boot",
                             "/etc/hosts", "/tmp"}) {
        EXPECT_TRUE(FolderTreeModel::isSystemMount(path)) << path;
    }
    for (const char* path :
         {"/media/me/USB", "/mnt/data", "/run/media/me/SD", "/data", "/procedures"}) {
        EXPECT_FALSE(FolderTreeModel::isSystemMount(path)) << path;
    }
    const auto places = FolderTreeModel::desktopPlaces();
    ASSERT_GE(places.size(), 2u);
    EXPECT_EQ(places[0].caption, kHomeCaption);
    EXPECT_EQ(places[1].caption, "/");
    EXPECT_EQ(places[1].path, "/");
}

} // namespace
} // namespace vimbrel
