// The uninstall key, the uninstaller file and the shortcuts, as the installation writes them.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "TestUtil.h"
#include "app/Lumengate.h"
#include "services/Hosts.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/Com.h"
#include "win/Str.h"

namespace {

const wchar_t kKeyPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\veskplay";

class UninstallEntry : public testing::Test {
protected:
    ScopedCoInit m_com;  // declared first so that it ends last
    CLumengate m_app;
    TempFolder m_dir;

    void TearDown() override {
        RegDeleteKeyW(HKEY_CURRENT_USER, kKeyPath);
        RemoveTree(GetSpecialFolder(CSIDL_PROGRAMS) + L"\\Veskora");
        DeleteFileW((GetSpecialFolder(CSIDL_DESKTOP) + L"\\Veskora.lnk").c_str());
    }

    void ExpectList(const std::vector<__UNISTINFO>& expected) {
        ASSERT_EQ(m_app.m_arrUnist.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(m_app.m_arrUnist[i].strText, expected[i].strText) << i;
            EXPECT_EQ(m_app.m_arrUnist[i].nType, expected[i].nType) << i;
        }
    }
};

// The target of a saved shell link; empty when it cannot be read.
std::wstring LinkTarget(const std::wstring& linkPath) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return {};
    if (FAILED(link.As(&file)) || FAILED(file->Load(linkPath.c_str(), STGM_READ))) return {};
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
    return target;
}

}  // namespace

TEST_F(UninstallEntry, WriteUninstallKeyWritesItsValues) {
    std::wstring folder = m_dir.Path();
    m_app.WriteUninstallKey(folder);
    ExpectList({{L"veskplay", 9}});

    struct {
        const wchar_t* name;
        std::wstring data;
    } expected[] = {
        {L"DisplayName", L"Veskora"},
        {L"UninstallString", L"\"" + folder + L"unists.exe\""},
        {L"DisplayIcon", folder + L"veskplay.exe,0"},
        {L"URLInfoAbout", std::wstring(kHomeHost) + L"/"},
        {L"Publisher", L"Brisken"},
        {L"PRODUCT_Version", L"1.1.5.1"},
    };
    ScopedRegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, key.Receive()), ERROR_SUCCESS);
    for (const auto& e : expected) {
        wchar_t data[MAX_PATH] = {};
        DWORD type = 0, bytes = sizeof(data);
        ASSERT_EQ(RegQueryValueExW(key, e.name, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes), ERROR_SUCCESS)
            << testing::PrintToString(e.name);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << testing::PrintToString(e.name);
        EXPECT_EQ(bytes, (e.data.size() + 1) * sizeof(wchar_t))
            << "stored with its null: " << testing::PrintToString(e.name);
        EXPECT_EQ(std::wstring(data), e.data) << testing::PrintToString(e.name);
    }
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    EXPECT_EQ(values, std::size(expected)) << "no other value";
}

TEST_F(UninstallEntry, WriteUninstallerWritesResource136) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(136), L"unists");  // the type name in any case
    ASSERT_TRUE(found);
    std::string resource(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                         SizeofResource(nullptr, found));
    ASSERT_GT(resource.size(), 2u);
    ASSERT_EQ(resource.substr(0, 2), "MZ");

    struct {
        const char* before;  // nullptr: no file yet
    } cases[] = {{nullptr}, {"an older uninstaller"}};
    std::wstring path = m_dir.File(L"unists.exe");
    for (const auto& c : cases) {
        if (c.before) {
            ASSERT_TRUE(WriteFileBytes(path, c.before));
        }
        EXPECT_EQ(m_app.WriteUninstaller(m_dir.Path()), 1) << (c.before ? c.before : "(none)");
        EXPECT_TRUE(ReadFileBytes(path) == resource) << (c.before ? c.before : "(none)");
    }
    EXPECT_EQ(m_app.WriteUninstaller(m_dir.Path() + L"missing\\"), 0);
    EXPECT_TRUE(m_app.m_arrUnist.empty());
}

TEST_F(UninstallEntry, CreateShortcutsMakesThreeLinksAndListsThem) {
    std::wstring folder = m_dir.Path();
    m_app.CreateShortcuts(folder);
    std::wstring menu = GetSpecialFolder(CSIDL_PROGRAMS) + L"\\Veskora\\Veskora\\";
    std::wstring desktop = GetSpecialFolder(CSIDL_DESKTOP) + L"\\";
    struct {
        std::wstring link;
        std::wstring target;
    } expected[] = {
        {menu + L"Veskora.lnk", folder + L"veskplay.exe"},
        {desktop + L"Veskora.lnk", folder + L"veskplay.exe"},
        {menu + L"卸载Veskora.lnk", folder + L"unists.exe"},
    };
    ExpectList({{expected[0].link, 3}, {expected[1].link, 3}, {expected[2].link, 3}});
    for (const auto& e : expected) {
        EXPECT_TRUE(FileExists(e.link)) << testing::PrintToString(e.link);
        EXPECT_TRUE(EqualsNoCase(LinkTarget(e.link), e.target)) << testing::PrintToString(e.link);
    }

    // Again over the existing links: they are saved anew and listed again.
    m_app.m_arrUnist.clear();
    EXPECT_EQ(m_app.CreateShortcut(folder + L"veskplay.exe", L"Veskora.lnk", FALSE), 1);
    ExpectList({{expected[0].link, 3}});
}

TEST(RelaunchParameters, NumbersArePassedOn) {
    struct {
        const wchar_t* value;
        const wchar_t* params;
    } cases[] = {
        {L"", L"ns "},  {L"30", L"ns 30"}, {L"007", L"ns 007"}, {L"-x", L"ns"},   {L"/s", L"ns"},
        {L"3a", L"ns"}, {L" 3", L"ns"},    {L"-3", L"ns"},      {L"３０", L"ns"}, {L"-hh", L"ns"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLumengate::RelaunchParameters(c.value), c.params) << testing::PrintToString(c.value);
}
