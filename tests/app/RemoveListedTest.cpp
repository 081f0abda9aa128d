// What the uninstaller removes for each entry of the list, and what it leaves alone.
#include <gtest/gtest.h>

#include "TestUtil.h"
#include "uninstaller/Remove.h"
#include "win/Path.h"

namespace {

// An installation folder named veskplay with a few files, next to a folder of things that are not ours.
class RemoveListedTest : public testing::Test {
protected:
    TempFolder m_root;
    std::wstring m_install = m_root.Path() + L"veskplay\\";
    std::wstring m_other = m_root.Path() + L"other\\";

    void SetUp() override {
        for (const std::wstring& dir : {m_install, m_install + L"unist\\", m_install + L"plugin\\", m_other})
            ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
        for (const std::wstring& file :
             {m_install + L"veskplay.exe", m_install + L"static.ini", m_install + L"unist\\Unist.xml",
              m_install + L"plugin\\chat.dll", m_other + L"keep.txt", m_other + L"Veskora.lnk"})
            ASSERT_TRUE(WriteFileBytes(file, "x"));
        SetFileAttributesW((m_install + L"static.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    }
};

}  // namespace

TEST_F(RemoveListedTest, EachEntryRemovesOnlyWhatIsOurs) {
    struct {
        __UNISTINFO entry;
        const wchar_t* path;  // relative to the test's root folder
        bool removed;
        bool ownsFolder;
    } cases[] = {
        {{L"%I%veskplay.exe", 3}, L"veskplay\\veskplay.exe", true, false},
        {{L"%I%static.ini", 3}, L"veskplay\\static.ini", true, false},  // read-only
        {{L"%O%Veskora.lnk", 3}, L"other\\Veskora.lnk", false, false},  // a shortcut outside menu and desktop
        {{L"%O%keep.txt", 3}, L"other\\keep.txt", false, false},        // not ours
        {{L"%I%..\\other\\keep.txt", 3}, L"other\\keep.txt", false, false},
        {{L"%I%unist", 4}, L"veskplay\\unist", true, false},
        {{L"%O%", 4}, L"other\\keep.txt", false, false},
        {{L"..\\other", 5}, L"other\\keep.txt", false, false},
        {{L"Startup", 5}, L"other\\keep.txt", false, false},  // another start-menu folder
        {{L"Run", 9}, L"other\\keep.txt", false, false},      // another program's uninstall key
        {{L"%O%", 9}, L"other\\keep.txt", false, false},
        {{L"vesk", 7}, L"veskplay\\static.ini", false, false},
        {{L"1234", 8}, L"veskplay\\static.ini", false, false},
        {{L"other", 10}, L"veskplay\\static.ini", false, false},  // names another folder
        {{L"VESKPLAY", 10}, L"veskplay", true, true},
    };
    for (const auto& c : cases) {
        SetFileAttributesW((m_install + L"static.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(m_install);
        RemoveTree(m_other);
        SetUp();
        std::wstring text = c.entry.strText;
        for (auto [mark, folder] : {std::pair{L"%I%", m_install}, std::pair{L"%O%", m_other}}) {
            if (text.compare(0, 3, mark) == 0) text = folder + text.substr(3);
        }
        std::wstring path = m_root.Path() + c.path;
        EXPECT_EQ(RemoveListed(m_install, {{text, c.entry.nType}}), c.ownsFolder) << testing::PrintToString(text);
        bool exists = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(!exists, c.removed) << testing::PrintToString(text) << " type " << c.entry.nType;
        EXPECT_TRUE(FileExists(m_other + L"keep.txt")) << testing::PrintToString(text);
    }
}

TEST_F(RemoveListedTest, RemoveFolderKeepsOneFile) {
    std::wstring keep = m_install + L"plugin\\chat.dll";
    EXPECT_FALSE(RemoveFolder(m_install, keep));
    EXPECT_TRUE(FileExists(keep));
    EXPECT_FALSE(FileExists(m_install + L"veskplay.exe"));
    EXPECT_FALSE(FolderExists(m_install + L"unist"));
    EXPECT_TRUE(RemoveFolder(m_install));
    EXPECT_FALSE(FolderExists(m_install));
    EXPECT_TRUE(FileExists(m_other + L"keep.txt"));
}
