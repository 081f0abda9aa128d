// The mock platform as the tests see it: its port and request log come from VESK_MOCK_PORT and VESK_MOCK_LOG.
#pragma once

#include <string>
#include <vector>

class MockPlatform {
public:
    MockPlatform();
    bool Available() const { return m_port != 0 && !m_logPath.empty(); }
    int Port() const { return m_port; }
    std::wstring Url(const std::wstring& pathAndQuery) const;  // "http://127.0.0.1:PORT" + pathAndQuery
    std::vector<std::string> LogLines() const;                 // the JSON lines logged so far (UTF-8)

private:
    int m_port = 0;
    std::wstring m_logPath;
};

// Minimal readers for the mock's JSON lines (json.dumps with its default separators).
// The first string value of "key" in line, unescaped; empty when missing.
std::string JsonString(const std::string& line, const std::string& key);
// Whether "key": true occurs in line.
bool JsonTrue(const std::string& line, const std::string& key);
// The first number value of "key" in line; 0 when missing.
double JsonNumber(const std::string& line, const std::string& key);
