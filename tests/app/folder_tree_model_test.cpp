#include "app/main_window/folder_tree_model.h"

#include <filesystem>

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/main_window/folder_tree.h"
#include "app/main_window/user_volumes.h"
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

// A watched folder follows the disk: folders made, renamed and removed
// elsewhere show up in its list, without a refresh.
TEST_F(FolderTreeModelTest, AWatchedFolderFollowsChangesMadeElsewhere)
{
    folder.makeFolder("old");
    ASSERT_EQ(captionsBelow(place()), std::vector<std::string>{"old"});
    model.watch(place());
    const auto listedAs = [&](const std::vector<std::string>& expected) {
        return QTest::qWaitFor([&] { return captionsBelow(place()) == expected; }, 10000);
    };
    folder.makeFolder("new");
    EXPECT_TRUE(listedAs({"new", "old"}));
    std::filesystem::rename(folder / "old", folder / "renamed");
    EXPECT_TRUE(listedAs({"new", "renamed"}));
    std::filesystem::remove(folder / "new");
    EXPECT_TRUE(listedAs({"renamed"}));
}

TEST_F(FolderTreeModelTest, ExpandArrowsOnlyWhereFoldersHaveSubfolders)
{
    folder.makeFolder("parent/child");
    folder.makeFolder("leaf");
    for (int i = 0; i < 200; ++i) {
        folder.write("leaf/file" + std::to_string(i) + ".jpg", "x");
    }
    folder.makeFolder("onlyHidden/.git");
    folder.makeFolder("linked");
    std::filesystem::create_symlink(folder / "parent", folder / "linked/to");

    QSignalSpy scanned(&model, &FolderTreeModel::subfoldersScanned);
    // Every scan started ends with the signal; at most a minute in all.
    const auto waitForScans = [&] {
        for (int round = 0; round < 6 && model.scanning(); ++round) {
            scanned.wait(10000);
        }
        return !model.scanning();
    };
    captionsBelow(place());
    ASSERT_TRUE(model.scanning());
    ASSERT_TRUE(waitForScans());
    EXPECT_TRUE(model.hasChildren(model.childByCaption(place(), "parent")));
    EXPECT_TRUE(model.hasChildren(model.childByCaption(place(), "linked")));
    EXPECT_FALSE(model.hasChildren(model.childByCaption(place(), "leaf")));
    EXPECT_FALSE(model.hasChildren(model.childByCaption(place(), "onlyHidden")));

    // A folder made since gets its arrow on a refresh.
    folder.makeFolder("leaf/new");
    const QModelIndex leaf = model.childByCaption(place(), "leaf");
    model.refresh(leaf);
    ASSERT_TRUE(waitForScans());
    EXPECT_TRUE(model.hasChildren(leaf));
}

// The tree watches what it shows open, and only that.
TEST(FolderTreeWatchTest, OpeningAnItemInTheTreeWatchesItsFolder)
{
    TempFolder folder;
    FolderTree tree(
        new FolderTreeModel({{"place", folder.path().substr(0, folder.path().size() - 1)}}));
    FolderTreeModel& model = *tree.folderModel();
    const QModelIndex place = model.childByCaption(model.rootItem(), "place");
    tree.expand(place);
    folder.makeFolder("made");
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.rowCount(place) == 1; }, 10000));
    EXPECT_EQ(model.caption(model.index(0, 0, place)), "made");
}

TEST(FolderTreePlacesTest, OnlyThePersonsVolumesAreShown)
{
    const std::vector<MountEntry> mounts =
        parseMountInfo("26 1 254:0 / / rw - ext4 /dev/vda rw\n"
                       "21 26 0:20 / /proc rw - proc proc rw\n"
                       "27 26 0:24 / /mnt/sandboxing/env/python ro - tmpfs model_tools rw\n"
                       "28 26 8:17 / /media/me/USB\\040STICK rw shared:1 - vfat /dev/sdb1 rw\n"
                       "29 26 8:2 /home/me/pics /mnt/bound rw - ext4 /dev/sda2 rw\n"
                       "30 26 8:3 / /mnt/data rw - ext4 /dev/sda3 rw\n"
                       "31 26 0:50 / /run/media/me/nas rw - cifs //server/share rw\n"
                       "32 26 8:33 / /srv/camera rw - exfat /dev/sdc1 rw\n"
                       "33 26 8:4 / /boot rw - ext4 /dev/sda4 rw\n"
                       "broken line\n");
    ASSERT_EQ(mounts.size(), 9u);
    EXPECT_EQ(mounts[3].mountPoint, "/media/me/USB STICK");
    EXPECT_EQ(mounts[3].source, "/dev/sdb1");
    EXPECT_EQ(mounts[4].root, "/home/me/pics");
    std::vector<std::string> shown;
    for (const MountEntry& mount : mounts) {
        if (isUserVolume(mount, mount.source == "/dev/sdc1")) {
            shown.push_back(mount.mountPoint);
        }
    }
    // No root, system, memory or bound mounts; the removable camera card
    // wherever it lies.
    EXPECT_EQ(shown, (std::vector<std::string>{"/media/me/USB STICK", "/mnt/data",
                                               "/run/media/me/nas", "/srv/camera"}));
    EXPECT_FALSE(isRemovableDevice("/dev/../etc/passwd"));
    EXPECT_FALSE(isRemovableDevice("tmpfs"));

    const auto places = FolderTreeModel::desktopPlaces();
    ASSERT_GE(places.size(), 2u);
    EXPECT_EQ(places[0].caption, kHomeCaption);
    EXPECT_EQ(places[1].caption, "/");
    EXPECT_EQ(places[1].path, "/");
}

} // namespace
} // namespace vimbrel
