// The framework's string of 8-bit characters: what the program's code appends paths with and hands
// to the operations that take an LPCSTR.
#pragma once

#include <string>
#include <string_view>

#include "platform/win/types.h"

class CString {
public:
    CString() = default;
    CString(LPCSTR psz) : m_str(psz ? psz : "") {}
    CString(std::string s) : m_str(std::move(s)) {}
    CString(const char* p, int nLength) : m_str(p, static_cast<std::size_t>(nLength)) {}

    operator LPCSTR() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int i) const { return m_str[static_cast<std::size_t>(i)]; }

    CString& operator=(LPCSTR psz) {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(LPCSTR psz) {
        if (psz)
            m_str += psz;
        return *this;
    }
    CString& operator+=(char ch) {
        m_str += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_str + b.m_str);
    }
    friend CString operator+(const CString& a, LPCSTR b) { return CString(a.m_str + (b ? b : "")); }
    friend CString operator+(LPCSTR a, const CString& b) { return CString((a ? a : "") + b.m_str); }
    friend CString operator+(const CString& a, char ch) { return CString(a.m_str + ch); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.m_str == (b ? b : ""); }

    // Position of the first of the given characters, or -1.
    int FindOneOf(LPCSTR pszCharSet) const {
        std::size_t i = m_str.find_first_of(pszCharSet);
        return i == std::string::npos ? -1 : static_cast<int>(i);
    }
    CString Left(int nCount) const {
        return CString(m_str.substr(0, static_cast<std::size_t>(nCount)));
    }

    // The string resource of the application's module; empty (and FALSE) when it is missing.
    BOOL LoadString(UINT nID);

private:
    std::string m_str;
};
