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

class Registration : public testing::Test {
protected:
    ScopedCoInit m_com;  // declared first so that it ends last
    CLumengate m_app;
    TempFolder m_dir;

    std::wstring ReadListFile() { return FromUtf8(ReadFileBytes(m_dir.Path() + L"unist\\Unist.xml")); }
};

std::wstring WithoutFinalNewline(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

}  // namespace

TEST_F(Registration, AddUnistItemKeepsTheOrderAndPassesOverEmptyText) {
    struct {
        const wchar_t* text;
        int type;
        bool added;
    } cases[] = {
        {L"C:\\a\\Veskora.lnk", 3, true},
        {L"", 8, false},
        {L"veskplay", 9, true},
        {L"", 3, false},
        {L"1234", 8, true},
        {L" ", 7, true},
    };
    std::vector<__UNISTINFO> expected;
    for (const auto& c : cases) {
        m_app.AddUnistItem(c.text, c.type);
        if (c.added) expected.push_back({c.text, c.type});
        ASSERT_EQ(m_app.m_arrUnist.size(), expected.size()) << testing::PrintToString(c.text);
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m_app.m_arrUnist[i].strText, expected[i].strText) << i;
        EXPECT_EQ(m_app.m_arrUnist[i].nType, expected[i].nType) << i;
    }
}

TEST_F(Registration, WriteUnistXmlWritesTheListEscaped) {
    m_app.AddUnistItem(L"C:\\开始\\卸载Veskora.lnk", 3);
    m_app.AddUnistItem(L"12&34", 8);
    m_app.AddUnistItem(L"a<b>c", 3);
    m_app.AddUnistItem(L"veskplay", 10);
    m_app.WriteUnistXml(m_dir.Path());
    EXPECT_FALSE(m_app.m_pXmlDoc) << "the document is dropped once the list is written";
    EXPECT_EQ(WithoutFinalNewline(ReadListFile()),
              L"<unist><Node><Name>C:\\开始\\卸载Veskora.lnk</Name><Type>3</Type></Node>"
              L"<Node><Name>12&amp;34</Name><Type>8</Type></Node>"
              L"<Node><Name>a&lt;b&gt;c</Name><Type>3</Type></Node>"
              L"<Node><Name>veskplay</Name><Type>10</Type></Node></unist>");

    // A later write replaces the file with the list as it stands then.
    m_app.m_arrUnist.clear();
    m_app.AddUnistItem(L"vesk", 7);
    m_app.WriteUnistXml(m_dir.Path());
    EXPECT_EQ(WithoutFinalNewline(ReadListFile()), L"<unist><Node><Name>vesk</Name><Type>7</Type></Node></unist>");
}

TEST_F(Registration, WriteUnistXmlOfAnEmptyListWritesTheRootOnly) {
    m_app.WriteUnistXml(m_dir.Path());
    EXPECT_EQ(WithoutFinalNewline(ReadListFile()), L"<unist/>");
}

TEST_F(Registration, LoadUnistXmlReadsWhatWasWrittenAndRefusesDamagedLists) {
    struct {
        const char* content;  // nullptr: no file
        bool loads;
        size_t entries;
    } cases[] = {
        {nullptr, false, 0},
        {"", false, 0},
        {"<unist><Node><Name>a</Name><Type>3</Type></Node>", false, 0},  // cut off
        {"<other><Node><Name>a</Name><Type>3</Type></Node></other>", false, 0},
        {"<unist/>", false, 0},
        {"<unist><Node><Name>a</Name></Node></unist>", false, 0},
        {"<unist><Node><Type>3</Type></Node></unist>", false, 0},
        {"<unist><Node><Name>a</Name><Type>x3</Type></Node></unist>", false, 0},
        {"<unist><Node><Name>a</Name><Type></Type></Node></unist>", false, 0},
        {"<unist><Item><Name>a</Name><Type>3</Type></Item></unist>", false, 0},
        {"<unist><Node><Name>a&amp;b</Name><Type>3</Type></Node><Node><Name>v</Name><Type>10</Type></Node></unist>\n",
         true, 2},
        {"<?xml version=\"1.0\"?>\r\n<unist>\r\n  <Node><Name>a</Name><Type>-1</Type></Node>\r\n</unist>\r\n", true, 1},
    };
    std::wstring file = m_dir.File(L"Unist.xml");
    for (const auto& c : cases) {
        DeleteFileW(file.c_str());
        if (c.content) {
            ASSERT_TRUE(WriteFileBytes(file, c.content));
        }
        std::vector<__UNISTINFO> list = {{L"stale", 1}};
        EXPECT_EQ(LoadUnistXml(file, list), c.loads) << (c.content ? c.content : "(no file)");
        EXPECT_EQ(list.size(), c.entries) << (c.content ? c.content : "(no file)");
    }
}

TEST_F(Registration, ListRoundTrip) {
    m_app.AddUnistItem(L"C:\\用户\\a&b<c>.lnk", 3);
    m_app.AddUnistItem(L"Veskora", 5);
    m_app.AddUnistItem(L"veskplay", 10);
    m_app.WriteUnistXml(m_dir.Path());
    std::vector<__UNISTINFO> list;
    ASSERT_TRUE(LoadUnistXml(m_dir.Path() + L"unist\\Unist.xml", list));
    ASSERT_EQ(list.size(), m_app.m_arrUnist.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].strText, m_app.m_arrUnist[i].strText) << i;
        EXPECT_EQ(list[i].nType, m_app.m_arrUnist[i].nType) << i;
    }
}
