#include <gtest/gtest.h>

#include <vector>

#include "TestUtil.h"
#include "win/App.h"
#include "win/Dialog.h"
#include "win/Window.h"

namespace {

class RecordingWindow : public CWindow {
public:
    bool CreatePopup(HWND parent = nullptr) {
        WNDCLASSEXW wc = {};
        wc.lpszClassName = L"VeskTestWindow";
        RegisterClass(wc);
        return Create(0, L"VeskTestWindow", L"test", WS_POPUP, 0, 0, 100, 100, parent, nullptr);
    }
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN || msg->wParam != m_consumeKey) return false;
        ++m_preTranslated;
        return true;
    }

    std::vector<UINT> m_messages;
    WPARAM m_consumeKey = 0;
    int m_preTranslated = 0;
    bool* m_deletedFlag = nullptr;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        m_messages.push_back(msg);
        if (msg == WM_USER + 1) return 1234;
        return Default(msg, wParam, lParam);
    }
    void PostNcDestroy() override {
        if (m_deletedFlag) *m_deletedFlag = true;
    }
};

bool Contains(const std::vector<UINT>& v, UINT msg) {
    for (UINT m : v)
        if (m == msg) return true;
    return false;
}

}  // namespace

TEST(Window, BindsAtCreationAndDispatchesEveryMessage) {
    RecordingWindow wnd;
    ASSERT_TRUE(wnd.CreatePopup());
    ASSERT_NE(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWindow::FromHandle(wnd.m_hWnd), &wnd);
    EXPECT_TRUE(Contains(wnd.m_messages, WM_NCCREATE));
    EXPECT_TRUE(Contains(wnd.m_messages, WM_CREATE));
    EXPECT_EQ(SendMessageW(wnd.m_hWnd, WM_USER + 1, 0, 0), 1234);
}

TEST(Window, DestroyUnbindsAndCallsPostNcDestroy) {
    bool deleted = false;
    RecordingWindow wnd;
    wnd.m_deletedFlag = &deleted;
    ASSERT_TRUE(wnd.CreatePopup());
    HWND hwnd = wnd.m_hWnd;
    wnd.DestroyWindow();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWindow::FromHandle(hwnd), nullptr);
    EXPECT_TRUE(Contains(wnd.m_messages, WM_NCDESTROY));
}

TEST(Window, ForeignWindowsAreNotOurs) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(CWindow::FromHandle(edit), nullptr);
    EXPECT_EQ(CWindow::FromHandle(nullptr), nullptr);
    DestroyWindow(edit);
}

TEST(App, PreTranslateWalksFromTheTargetUpToTheMainWindow) {
    CApp app;
    RecordingWindow owner, main;
    ASSERT_TRUE(owner.CreatePopup());
    ASSERT_TRUE(main.CreatePopup(owner.m_hWnd));  // owned: GetParent(main) is the owner
    ASSERT_EQ(GetParent(main.m_hWnd), owner.m_hWnd);
    app.m_pMainWnd = &main;
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, main.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);

    main.m_consumeKey = VK_ESCAPE;
    owner.m_consumeKey = VK_F1;
    MSG msg = {edit, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(app.PreTranslateMessage(&msg)) << "the edit is not ours: its parent takes the key";
    EXPECT_EQ(main.m_preTranslated, 1);

    msg.wParam = VK_F1;
    EXPECT_FALSE(app.PreTranslateMessage(&msg)) << "the walk stops at the main window";
    EXPECT_EQ(owner.m_preTranslated, 0);

    msg.wParam = 'A';
    EXPECT_FALSE(app.PreTranslateMessage(&msg));
    app.m_pMainWnd = nullptr;
}

TEST(App, AWindowOutsideTheMainWindowsTreeGivesTheMainWindowTheLastWord) {
    CApp app;
    RecordingWindow main, other;
    ASSERT_TRUE(main.CreatePopup());
    ASSERT_TRUE(other.CreatePopup());  // top-level, not owned by the main window
    app.m_pMainWnd = &main;
    main.m_consumeKey = VK_F4;
    MSG msg = {other.m_hWnd, WM_KEYDOWN, VK_F4, 0};
    EXPECT_TRUE(app.PreTranslateMessage(&msg));
    EXPECT_EQ(main.m_preTranslated, 1);
    MSG thread = {nullptr, WM_KEYDOWN, VK_F4, 0};
    EXPECT_FALSE(app.PreTranslateMessage(&thread)) << "a thread message belongs to no window";
    app.m_pMainWnd = nullptr;
}

TEST(App, MainWindowDestructionEndsTheLoop) {
    CApp app;
    RecordingWindow wnd;
    ASSERT_TRUE(wnd.CreatePopup());
    app.m_pMainWnd = &wnd;
    PostMessageW(wnd.m_hWnd, WM_CLOSE, 0, 0);  // DefWindowProc destroys it
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

namespace {

// Dialog 200 of the test resources: an edit box 1001 and OK/Cancel buttons.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(200) {}
    int m_initCalls = 0;
    bool m_postOk = false;
    bool m_sawPaint = false;

protected:
    BOOL OnInitDialog() override {
        ++m_initCalls;
        SetDlgItemTextW(m_hWnd, 1001, L"初始");
        if (m_postOk) PostMessageW(m_hWnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_USER + 5) return 77;
        if (msg == WM_PAINT) m_sawPaint = true;
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

}  // namespace

TEST(Dialog, ModalEndsWithTheButtonsResult) {
    TestDialog dlg;
    dlg.m_postOk = true;
    EXPECT_EQ(dlg.DoModal(nullptr), IDOK);
    EXPECT_EQ(dlg.m_initCalls, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialog, ModelessIsSubclassedAndGetsDialogKeys) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.CreateModeless(nullptr));
    ASSERT_NE(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_initCalls, 1);
    EXPECT_EQ(CWindow::FromHandle(dlg.m_hWnd), &dlg);
    // Our WindowProc sees messages after WM_INITDIALOG and can return real results.
    EXPECT_EQ(SendMessageW(dlg.m_hWnd, WM_USER + 5, 0, 0), 77);
    wchar_t text[32] = {};
    GetDlgItemTextW(dlg.m_hWnd, 1001, text, 32);
    EXPECT_STREQ(text, L"初始");

    // Escape in the edit box reaches the dialog manager through PreTranslateMessage and cancels.
    HWND edit = GetDlgItem(dlg.m_hWnd, 1001);
    MSG msg = {edit, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(dlg.PreTranslateMessage(&msg));
    PumpMessages();
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "IDCANCEL destroys a modeless dialog";
}

namespace {

// Destroys itself from inside a handler and goes on to default processing, as a close command does.
class SelfDestroyingWindow : public CWindow {
public:
    SelfDestroyingWindow(int* deletions, int* seenInHandler) : m_deletions(deletions), m_seen(seenInHandler) {
        WNDCLASSEXW wc = {};
        wc.lpszClassName = L"VeskTestSelfDestroying";
        RegisterClass(wc);
        Create(0, L"VeskTestSelfDestroying", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    }
    ~SelfDestroyingWindow() override { ++*m_deletions; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND) {
            SendMessageW(m_hWnd, WM_CLOSE, 0, 0);  // DefWindowProc destroys the window
            *m_seen = *m_deletions;
        }
        return Default(msg, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }

private:
    int* m_deletions;
    int* m_seen;
};

}  // namespace

TEST(Window, AnObjectDestroyedByItsOwnHandlerOutlivesTheHandler) {
    int deletions = 0, seenInHandler = -1;
    auto* wnd = new SelfDestroyingWindow(&deletions, &seenInHandler);
    HWND hwnd = wnd->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    SendMessageW(hwnd, WM_COMMAND, 1, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(seenInHandler, 0) << "still alive in the handler that destroyed its window";
    EXPECT_EQ(deletions, 1) << "deleted once, after the outermost handler returned";
}
