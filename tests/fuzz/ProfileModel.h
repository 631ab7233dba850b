#pragma once

#include <climits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A second, plain reading of the profile-file rules, written apart from the layer so that
// the fuzzers can compare the two.
namespace orivel::fuzz {

inline bool isLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The text a read gives for a raw value: blanks trimmed, then one matching pair of quotes.
inline std::string cleanRaw(std::string_view raw) {
  std::string_view v = trimBlanks(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

// ASCII letters folded to one case; the byte after a code page 932 lead byte is kept.
inline std::string foldName(std::string_view s, bool upper = false) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (isLead(c) && i + 1 < s.size()) {
      out += s[i];
      out += s[++i];
    } else if (!upper && c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c + 32);
    } else if (upper && c >= 'a' && c <= 'z') {
      out += static_cast<char>(c - 32);
    } else {
      out += s[i];
    }
  }
  return out;
}

// A whole decimal integer with an optional sign, within int.
inline std::optional<int> parseDecimal(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v < INT_MIN || v > INT_MAX) return std::nullopt;
  return static_cast<int>(v);
}

// Lines as the file holds them: LF ends a line, one CR before it belongs to the end, a last
// line without an end counts, nothing after a final LF does.
inline std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    pos = next;
  }
  return lines;
}

inline std::string joinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out.append(l).append("\r\n");
  return out;
}

struct ModelKey {
  std::string section;  // as the file spells it, trimmed
  std::string key;      // as the file spells it, trimmed
  std::string raw;      // the text after the first "="
};

// The keys that reads can reach: the first key of each name in the first section of each
// name. Lines before the first section belong to none.
inline std::vector<ModelKey> reachableKeys(std::string_view text) {
  std::vector<ModelKey> keys;
  std::set<std::string> sectionsSeen;
  std::set<std::pair<std::string, std::string>> keysSeen;
  bool inReachableSection = false;
  std::string section;
  for (const std::string& line : splitLines(text)) {
    const std::string_view t = trimBlanks(line);
    if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos) {
      section = std::string(trimBlanks(t.substr(1, t.rfind(']') - 1)));
      inReachableSection = sectionsSeen.insert(foldName(section)).second;
      continue;
    }
    if (!inReachableSection) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string_view k = trimBlanks(std::string_view(line).substr(0, eq));
    if (k.empty()) continue;
    if (keysSeen.insert({foldName(section), foldName(k)}).second)
      keys.push_back({section, std::string(k), line.substr(eq + 1)});
  }
  return keys;
}

}  // namespace orivel::fuzz
