#include "viewer/server/viewer_opener.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QUrl>

#include <vector>

#include "tests/support/http_exchange.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

class ViewerOpenerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { testing::ensureCoreApplication(); }

    void SetUp() override
    {
        mRoot.write("app/Work/index.htm", "<HTML>");
        mRoot.write("app/Img/BtnFirst.gif", "GIF89a");
        mRoot.write("pictures/a.jpg", "picture");
        mRoot.write("pictures/img_s/a.jpg", "small");
        mRoot.write("other/b.jpg", "other picture");
        mRoot.write("unrelated/c.jpg", "never served");
    }

    ViewerPages pagesFor(const std::string& pictures, const std::string& small = "") const
    {
        return {mRoot / "app/Work/index.htm", mRoot / "app/Work/", mRoot / pictures,
                small.empty() ? "" : mRoot / small};
    }

    // The status of a GET for `relative`, resolved against the page URL as
    // the browser resolves the pages' links.
    int statusOf(const QUrl& page, const QString& relative) const
    {
        const QUrl url = page.resolved(QUrl(relative));
        const quint16 port = static_cast<quint16>(url.port());
        const QByteArray target = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
        return testing::exchange(port, testing::requestFor("GET", target, port)).status;
    }

    // The viewer URL that the redirect page handed to the browser leads to.
    static QUrl viewerUrlIn(const std::string& page)
    {
        const std::string text = testing::readFile(page);
        const std::string start = "content=\"0;url=";
        const size_t from = text.find(start);
        if (from == std::string::npos) {
            return {};
        }
        const size_t to = text.find('"', from + start.size());
        return QUrl(
            QString::fromStdString(text.substr(from + start.size(), to - from - start.size())));
    }

    TempFolder mRoot;
    std::vector<std::pair<QUrl, bool>> mLaunched;
    std::vector<std::string> mPages;
    // Keeps what the browser would get: the viewer URL the page leads to.
    ViewerOpener::Launcher mLauncher = [this](const std::string& pagePath, bool maximised) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(pagePath));
        mPages.push_back(url.toLocalFile().toStdString());
        mLaunched.emplace_back(viewerUrlIn(mPages.back()), maximised);
        return true;
    };
};

// Whether the browser came for the viewer it was handed, and whether a
// viewer window is still open, as the server saw it.
TEST_F(ViewerOpenerTest, KnowsWhetherTheBrowserCameAndWhetherAViewerIsOpen)
{
    ViewerOpener opener(mRoot / "app/", mLauncher);
    EXPECT_TRUE(opener.browserCame()); // nothing handed over yet
    EXPECT_FALSE(opener.viewerOpen());
    ASSERT_TRUE(opener.open(pagesFor("pictures/"), false).opened);
    EXPECT_EQ(opener.handedPage(), mPages.back());
    EXPECT_FALSE(opener.browserCame());
    const QUrl viewer = mLaunched.back().first;
    EXPECT_EQ(statusOf(viewer, "index.htm"), 200);
    EXPECT_TRUE(opener.browserCame());
    // A viewer window says it is shown, then that it went.
    const QString own = "/" + viewer.path().split('/').at(1) + "~/";
    EXPECT_EQ(statusOf(viewer, own + "alive?view=v&state=open"), 204);
    EXPECT_TRUE(opener.viewerOpen());
    // Handed over again: it has not come for this one yet.
    ASSERT_TRUE(opener.open(pagesFor("pictures/"), false).opened);
    EXPECT_FALSE(opener.browserCame());
}

TEST_F(ViewerOpenerTest, OpensIndexWhoseLinksReachTheRunsFolders)
{
    ViewerOpener opener(mRoot / "app/", mLauncher);
    EXPECT_TRUE(opener.open(pagesFor("pictures/", "pictures/img_s/"), true).opened);
    ASSERT_EQ(mLaunched.size(), 1u);
    const QUrl page = mLaunched[0].first;
    EXPECT_TRUE(mLaunched[0].second);
    EXPECT_EQ(page.host(), "127.0.0.1");
    EXPECT_TRUE(page.path().endsWith(QString::fromStdString(mRoot / "app/Work/index.htm")));

    EXPECT_EQ(statusOf(page, "index.htm"), 200);
    EXPECT_EQ(statusOf(page, "../Img/BtnFirst.gif"), 200);
    EXPECT_EQ(statusOf(page, "../../pictures/a.jpg"), 200);
    EXPECT_EQ(statusOf(page, "../../pictures/img_s/a.jpg"), 200);
    EXPECT_EQ(statusOf(page, "../../other/b.jpg"), 404);
    EXPECT_EQ(statusOf(page, "../../unrelated/c.jpg"), 404);
}

TEST_F(ViewerOpenerTest, LaterRunsAddTheirFoldersToTheSameServer)
{
    ViewerOpener opener(mRoot / "app/", mLauncher);
    opener.open(pagesFor("pictures/"), false);
    opener.open(pagesFor("other/"), false);
    ASSERT_EQ(mLaunched.size(), 2u);
    EXPECT_EQ(mLaunched[0].first, mLaunched[1].first);
    EXPECT_FALSE(mLaunched[1].second);
    // The viewer of the first run stays usable.
    EXPECT_EQ(statusOf(mLaunched[1].first, "../../pictures/a.jpg"), 200);
    EXPECT_EQ(statusOf(mLaunched[1].first, "../../other/b.jpg"), 200);
    EXPECT_EQ(statusOf(mLaunched[1].first, "../../unrelated/c.jpg"), 404);
}

TEST_F(ViewerOpenerTest, TheBrowserGetsAPrivatePageThatGoesWithTheOpener)
{
    {
        ViewerOpener opener(mRoot / "app/", mLauncher);
        ASSERT_TRUE(opener.open(pagesFor("pictures/"), false).opened);
        ASSERT_EQ(mPages.size(), 1u);
        // Not the URL (with its token) but a file is given to the browser.
        EXPECT_EQ(mPages[0].find("127.0.0.1"), std::string::npos);
        EXPECT_EQ(mLaunched[0].first,
                  QUrl(QString::fromStdString(opener.serve(pagesFor("pictures/")))));
        struct stat page = {};
        struct stat folder = {};
        ASSERT_EQ(::stat(mPages[0].c_str(), &page), 0);
        const std::string folderPath = mPages[0].substr(0, mPages[0].rfind('/'));
        ASSERT_EQ(::stat(folderPath.c_str(), &folder), 0);
        EXPECT_EQ(page.st_mode & 0777, 0600u);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);
        opener.open(pagesFor("pictures/"), false);
        EXPECT_EQ(mPages[1], mPages[0]); // one page, rewritten
    }
    struct stat gone = {};
    EXPECT_NE(::stat(mPages[0].c_str(), &gone), 0);
    EXPECT_NE(::stat(mPages[0].substr(0, mPages[0].rfind('/')).c_str(), &gone), 0);
}

TEST_F(ViewerOpenerTest, ButtonsAreServedBesideAWorkFolderAwayFromTheProgram)
{
    // Installed: the program's Img/ in one place, Work/ in the person's data.
    mRoot.write("data/Work/index.htm", "<HTML>");
    ViewerOpener opener(mRoot / "app/", mLauncher);
    const ViewerPages pages{mRoot / "data/Work/index.htm", mRoot / "data/Work/",
                            mRoot / "pictures/", ""};
    ASSERT_TRUE(opener.open(pages, false).opened);
    const QUrl page = mLaunched[0].first;
    EXPECT_EQ(statusOf(page, "index.htm"), 200);
    EXPECT_EQ(statusOf(page, "../Img/BtnFirst.gif"), 200);
    EXPECT_EQ(statusOf(page, "../../app/Work/index.htm"), 404);
}

TEST_F(ViewerOpenerTest, ABrowserThatCannotStartIsReportedWithItsUrl)
{
    ViewerOpener opener(mRoot / "app/", [](const std::string&, bool) { return false; });
    const ViewerOpener::Outcome outcome = opener.open(pagesFor("pictures/"), false);
    EXPECT_FALSE(outcome.opened);
    EXPECT_NE(outcome.failure.find("the browser could not be started for http://127.0.0.1:"),
              std::string::npos);
    EXPECT_NE(outcome.failure.find("/index.htm"), std::string::npos);
}

} // namespace
} // namespace vimbrel
