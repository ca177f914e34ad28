// vimbrel.exe as a person uses it: started with a picture folder, 表示
// pressed, a rename run and taken back, the window closed. It runs in a copy
// of the app folder and opens the viewer in a stand-in browser registered
// for .html files, which writes down what it was handed.
// The socket library's header comes before windows.h.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/win32/control_ids.h"
#include "platform/file_system.h"
#include "platform/program.h"
#include "platform/text_encoding.h"
#include "platform/win32/wide_text.h"
#include "tests/app/win32/window_driver.h"
#include "tests/support/temp_folder.h"

namespace vimbrel::testing {
namespace {

using win32::idOf;
using win32::widen;

// The class of .html files is the stand-in browser while this lives; the
// class as it was comes back afterwards. (Wine's shell reads the classes of
// the machine, not the user's.)
class StandInBrowser
{
public:
    explicit StandInBrowser(const std::string& record)
    {
        ::SetEnvironmentVariableW(L"VIMBREL_BROWSER_RECORD", widen(record).c_str());
        mOldClass = defaultValue(kHtmlKey);
        const std::wstring command =
            L"\"" + widen(program::folder(nullptr)) + L"stand_in_browser.exe\" \"%1\"";
        setDefault(kHtmlKey, kStandInClass);
        setDefault(kStandInCommandKey, command);
    }
    ~StandInBrowser()
    {
        if (mOldClass.empty()) {
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kHtmlKey);
        } else {
            setDefault(kHtmlKey, mOldClass);
        }
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\VimbrelTest.StandInBrowser");
        ::SetEnvironmentVariableW(L"VIMBREL_BROWSER_RECORD", nullptr);
    }
    StandInBrowser(const StandInBrowser&) = delete;
    StandInBrowser& operator=(const StandInBrowser&) = delete;

private:
    static constexpr const wchar_t* kHtmlKey = L"Software\\Classes\\.html";
    static constexpr const wchar_t* kStandInClass = L"VimbrelTest.StandInBrowser";
    static constexpr const wchar_t* kStandInCommandKey =
        L"Software\\Classes\\VimbrelTest.StandInBrowser\\shell\\open\\command";

    static std::wstring defaultValue(const wchar_t* key)
    {
        wchar_t value[256]{};
        DWORD size = sizeof value;
        if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, nullptr, RRF_RT_REG_SZ, nullptr, value,
                           &size) != ERROR_SUCCESS) {
            return {};
        }
        return value;
    }
    static void setDefault(const wchar_t* key, const std::wstring& value)
    {
        HKEY opened = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr,
                                    &opened, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         DWORD((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(opened);
    }

    std::wstring mOldClass;
};

std::string appFolderOfBuild()
{
    const char* fromEnvironment = std::getenv("VIMBREL_APP_FOLDER");
    return fs::withSeparator(fromEnvironment != nullptr ? fromEnvironment : "");
}

// The texts of the message boxes the window shows next, each answered; none
// when nothing shows in time.
std::vector<std::string> nextMessageBoxes(const WindowDriver& window)
{
    std::vector<std::string> said;
    waitFor([&] {
        said = window.answerMessageBoxes();
        return !said.empty();
    });
    return said;
}

class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(std::filesystem::u8path(appFolderOfBuild() + "vimbrel.exe"),
                                   std::filesystem::u8path(mApp + "vimbrel.exe"));
        for (const char* name : {"b.jpg", "a.jpg", "メモ 1.jpg"}) {
            mRoot.write(std::string("写真/") + name, "picture");
        }
    }

    bool exists(const std::string& path) const { return fs::isFile(path); }

    TempFolder mRoot;
    std::string mApp = mRoot.makeFolder("app");
    std::string mPictures = mRoot / "写真";
    std::string mRecord = mRoot / "browser.txt";
};

TEST_F(MainFrameTest, ShowsRenamesTakesBackAndSavesItsPlacement)
{
    const StandInBrowser browser(mRecord);
    WindowDriver window(mApp + "vimbrel.exe", "\"" + mPictures + "\"", mRoot.path());
    ASSERT_TRUE(window.started());
    HWND frame = window.mainWindow(L"TForm1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(window.text(frame), "Vimbrel");
    EXPECT_EQ(window.text(window.control(idOf(Control::BtnUndo))), "元に戻す");
    EXPECT_FALSE(::IsWindowEnabled(window.control(idOf(Control::BtnUndo))));

    // 表示 writes the pages into Work/ and hands the viewer to the browser.
    window.click(win32::kBtnShowId);
    ASSERT_TRUE(waitFor([&] { return exists(mRecord); }))
        << "message boxes: " << ::testing::PrintToString(window.answerMessageBoxes());
    for (const char* page : {"index.htm", "menu.htm", "main.htm"}) {
        EXPECT_TRUE(exists(mApp + "Work\\" + page)) << page;
    }
    const std::string handed = readFile(mRecord);
    EXPECT_NE(handed.find("open-viewer.html"), std::string::npos) << handed;
    // The pages are in Shift-JIS.
    EXPECT_NE(readFile(mApp + "Work\\menu.htm").find(encoding::toShiftJis("メモ 1.jpg")),
              std::string::npos);

    // その他: a prefix typed in shows in the sample; 実行 renames the three
    // files and says so; 元に戻す takes them back.
    window.setText(window.control(idOf(Control::EditFHead)), "Pic");
    EXPECT_EQ(window.text(window.control(idOf(Control::LblSample))).rfind("Pic", 0), 0u);
    window.click(idOf(Control::BtnExec));
    EXPECT_EQ(nextMessageBoxes(window), std::vector<std::string>{"3 ファイルを更新しました。"});
    EXPECT_TRUE(exists(mPictures + "\\Pic0001.jpg"));
    EXPECT_FALSE(exists(mPictures + "\\a.jpg"));
    ASSERT_TRUE(waitFor([&] { return ::IsWindowEnabled(window.control(idOf(Control::BtnUndo))); }));
    window.click(idOf(Control::BtnUndo));
    EXPECT_EQ(nextMessageBoxes(window), std::vector<std::string>{"3 ファイルを元に戻しました。"});
    EXPECT_TRUE(exists(mPictures + "\\a.jpg"));
    EXPECT_TRUE(exists(mPictures + "\\メモ 1.jpg"));

    // Closing saves the settings with the window's place and the folder.
    RECT placed{};
    ::GetWindowRect(frame, &placed);
    ASSERT_TRUE(window.close());
    EXPECT_EQ(window.exitCode(), 0u);
    const std::string settings = readFile(mApp + "Vimbrel.INI");
    EXPECT_NE(settings.find("LEFT=" + std::to_string(placed.left) + "\r\n"), std::string::npos)
        << settings;
    EXPECT_NE(settings.find("WIDTH=" + std::to_string(placed.right - placed.left) + "\r\n"),
              std::string::npos);
    EXPECT_NE(settings.find("写真"), std::string::npos);
    EXPECT_NE(settings.find("HEAD=Pic\r\n"), std::string::npos);
}

// Started again without a folder, the window reopens the stored one: 表示
// shows the same pictures.
TEST_F(MainFrameTest, ReopensTheStoredFolder)
{
    const StandInBrowser browser(mRecord);
    {
        WindowDriver first(mApp + "vimbrel.exe", "\"" + mPictures + "\"", mRoot.path());
        ASSERT_NE(first.mainWindow(L"TForm1"), nullptr);
        ASSERT_TRUE(first.close());
    }
    WindowDriver again(mApp + "vimbrel.exe", "", mRoot.path());
    ASSERT_NE(again.mainWindow(L"TForm1"), nullptr);
    again.click(win32::kBtnShowId);
    ASSERT_TRUE(waitFor([&] { return exists(mRecord); }))
        << "message boxes: " << ::testing::PrintToString(again.answerMessageBoxes());
    EXPECT_NE(readFile(mApp + "Work\\menu.htm").find("b.jpg"), std::string::npos);
    ASSERT_TRUE(again.close());
}

// A later start hands its folder to the window that runs and leaves no
// program of its own; the first then has that folder chosen.
TEST_F(MainFrameTest, ALaterStartShowsTheFirstWindowWithItsFolder)
{
    mRoot.makeFolder("other");
    WindowDriver first(mApp + "vimbrel.exe", "\"" + mPictures + "\"", mRoot.path());
    ASSERT_NE(first.mainWindow(L"TForm1"), nullptr);
    WindowDriver later(mApp + "vimbrel.exe", "\"" + mRoot / "other" + "\"", mRoot.path());
    ASSERT_TRUE(later.ended(30));
    EXPECT_EQ(later.exitCode(), 0u);
    EXPECT_FALSE(first.ended(0));
    ASSERT_TRUE(first.close());
    const std::string settings = readFile(mApp + "Vimbrel.INI");
    EXPECT_NE(settings.find("other"), std::string::npos) << settings;
}

// One request to the viewer server at `url`'s host, for `path`; the status.
int askServer(const std::string& url, const std::string& path)
{
    const size_t hostStart = url.find("//") + 2;
    const size_t colon = url.find(':', hostStart);
    const int port = std::stoi(url.substr(colon + 1));
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(u_short(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int status = 0;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET " + path +
                                    " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                    "\r\nConnection: close\r\n\r\n";
        ::send(socket, request.data(), int(request.size()), 0);
        char reply[64]{};
        if (::recv(socket, reply, sizeof reply - 1, 0) > 12) {
            status = std::atoi(reply + 9);
        }
    }
    ::closesocket(socket);
    ::WSACleanup();
    return status;
}

// Closed while a viewer window is open in the browser, the program serves
// on, its window hidden and Work/ kept, until the viewer window goes.
TEST_F(MainFrameTest, AViewerLeftOpenOutlivesTheWindow)
{
    // 終了後ﾌｧｲﾙを削除 is checked at a first start.
    const StandInBrowser browser(mRecord);
    WindowDriver window(mApp + "vimbrel.exe", "\"" + mPictures + "\"", mRoot.path());
    ASSERT_NE(window.mainWindow(L"TForm1"), nullptr);
    window.click(win32::kBtnShowId);
    ASSERT_TRUE(waitFor([&] { return exists(mRecord); }));
    // The page handed to the browser (the last quoted word of its command
    // line) names the viewer's address.
    const std::string handed = readFile(mRecord);
    const size_t end = handed.rfind('"');
    const size_t begin = handed.rfind('"', end - 1) + 1;
    const std::string page = readFile(handed.substr(begin, end - begin));
    const size_t at = page.find("http://127.0.0.1:");
    ASSERT_NE(at, std::string::npos) << page;
    const std::string url = page.substr(at, page.find('"', at) - at);
    const std::string token = url.substr(url.find('/', 8) + 1, 32);
    // A viewer window says it is open, as the pages' helper does.
    ASSERT_EQ(askServer(url, "/" + token + "~/alive?view=v1&state=open"), 204);
    window.askToClose();
    EXPECT_FALSE(window.ended(3));
    EXPECT_TRUE(exists(mApp + "Work\\index.htm"));
    EXPECT_EQ(askServer(url, "/" + token + "~/alive?view=v1&state=gone"), 204);
    ASSERT_TRUE(window.ended(30));
    EXPECT_EQ(window.exitCode(), 0u);
    EXPECT_FALSE(exists(mApp + "Work\\index.htm")); // emptied last
}

} // namespace
} // namespace vimbrel::testing
