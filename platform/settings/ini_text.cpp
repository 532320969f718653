#include "platform/settings/ini_text.h"

#include <cstdint>
#include <vector>

namespace pibo::settings {

namespace {

struct Line {
    std::size_t begin; // offset of the line's first character
    std::size_t end;   // offset just after its last character, before any "\r\n" or "\n"
    std::size_t next;  // offset of the next line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > pos && text[end - 1] == '\r')
            --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The name of a section header line, if the line is one.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return Trim(line.substr(1, line.size() - 2));
}

// Index of the section's header line, or -1.
long FindSection(std::string_view text, const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (name && SameName(*name, section))
            return static_cast<long>(i);
    }
    return -1;
}

struct EntryPosition {
    long line = -1;       // the entry's line, or -1
    long sectionEnd = -1; // the first line after the section (lines.size() at the end)
};

EntryPosition FindEntry(std::string_view text, const std::vector<Line>& lines, long header,
                        std::string_view entry) {
    EntryPosition pos;
    std::size_t i = static_cast<std::size_t>(header) + 1;
    for (; i < lines.size(); ++i) {
        std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (SectionName(line))
            break;
        const std::size_t eq = line.find('=');
        if (pos.line < 0 && eq != std::string_view::npos &&
            SameName(Trim(line.substr(0, eq)), entry))
            pos.line = static_cast<long>(i);
    }
    pos.sectionEnd = static_cast<long>(i);
    return pos;
}

std::string_view LineEnding(std::string_view text, const Line& line) {
    return text.substr(line.end, line.next - line.end);
}

} // namespace

bool IsSettingsText(std::string_view text) {
    return text.find('\0') == std::string_view::npos;
}

bool HasSection(std::string_view text, std::string_view section) {
    return FindSection(text, SplitLines(text), section) >= 0;
}

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view entry) {
    const std::vector<Line> lines = SplitLines(text);
    const long header = FindSection(text, lines, section);
    if (header < 0)
        return std::nullopt;
    const EntryPosition pos = FindEntry(text, lines, header, entry);
    if (pos.line < 0)
        return std::nullopt;
    const Line& l = lines[static_cast<std::size_t>(pos.line)];
    std::string_view line = text.substr(l.begin, l.end - l.begin);
    return std::string(Trim(line.substr(line.find('=') + 1)));
}

std::string WithSection(std::string_view text, std::string_view section) {
    if (HasSection(text, section))
        return std::string(text);
    std::string out(text);
    if (!out.empty() && out.back() != '\n')
        out += '\n';
    out += '[';
    out += section;
    out += "]\n";
    return out;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view entry,
                      std::string_view value) {
    std::string base = WithSection(text, section);
    std::string_view t = base;
    const std::vector<Line> lines = SplitLines(t);
    const long header = FindSection(t, lines, section);
    const EntryPosition pos = FindEntry(t, lines, header, entry);
    std::string out;
    if (pos.line >= 0) {
        // The entry's line is rewritten, keeping its name and line ending.
        const Line& l = lines[static_cast<std::size_t>(pos.line)];
        std::string_view line = t.substr(l.begin, l.end - l.begin);
        out.append(t.substr(0, l.begin));
        out.append(Trim(line.substr(0, line.find('='))));
        out += '=';
        out.append(value);
        out.append(t.substr(l.end));
        return out;
    }
    // A new entry goes right after the section's header.
    const Line& h = lines[static_cast<std::size_t>(header)];
    std::string_view ending = LineEnding(t, h);
    out.append(t.substr(0, h.next));
    if (ending.empty())
        out += '\n';
    out.append(entry);
    out += '=';
    out.append(value);
    out.append(ending.empty() ? std::string_view("\n") : ending);
    out.append(t.substr(h.next));
    return out;
}

std::optional<unsigned> ParseNumber(std::string_view value) {
    value = Trim(value);
    if (value.empty() || value.size() > 10)
        return std::nullopt;
    std::uint64_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    if (n > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<unsigned>(n);
}

} // namespace pibo::settings
