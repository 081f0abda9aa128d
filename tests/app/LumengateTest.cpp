#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>

#include "TestUtil.h"
#include "app/Lumengate.h"

namespace {

// Captures what is written to the standard output between construction and Text().
class StdoutCapture {
public:
    StdoutCapture() : m_file(m_dir.File(L"stdout.txt")) {
        fflush(stdout);
        m_saved = _dup(1);
        int fd = _wopen(m_file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0600);
        _dup2(fd, 1);
        _close(fd);
    }
    ~StdoutCapture() { Restore(); }
    std::string Text() {
        Restore();
        return ReadFileBytes(m_file);
    }

private:
    void Restore() {
        if (m_saved < 0) return;
        fflush(stdout);
        _dup2(m_saved, 1);
        _close(m_saved);
        m_saved = -1;
    }
    TempFolder m_dir;
    std::wstring m_file;
    int m_saved = -1;
};

}  // namespace

TEST(Lumengate, InvalidParameterHandlerWritesOneLine) {
    StdoutCapture out;
    CLumengate::OnInvalidParameter(L"p != NULL", L"wcscpy_s", L"string.c", 42, 0);
    CLumengate::OnInvalidParameter(nullptr, nullptr, nullptr, 0, 0);  // what a release run-time library passes
    EXPECT_EQ(out.Text(),
              "in expression p != NULL, function wcscpy_s, file string.c, line 42\n"
              "in expression , function , file , line 0\n");
}

TEST(Lumengate, UnhandledExceptionEndsQuietly) {
    StdoutCapture out;
    EXPECT_EQ(CLumengate::OnUnhandledException(nullptr), EXCEPTION_EXECUTE_HANDLER);
    EXPECT_EQ(out.Text(), "5");
}
