#include "files/ProfileFile.h"

#include "files/AtomicWrite.h"
#include "files/Cp932Bytes.h"
#include "files/FileBytes.h"

#include <charconv>

namespace orivel {
namespace fs = std::filesystem;

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool isBlankLine(std::string_view s) {
  return trim(s).empty();
}

unsigned char foldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

bool hasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// The key name of a line, if the line is a key line: the text before the first "=",
// without blanks. A line with no "=" or nothing before it is not a key.
bool keyOfLine(std::string_view raw, std::string_view* key, std::size_t* valuePos) {
  const std::size_t eq = raw.find('=');
  if (eq == std::string_view::npos) return false;
  const std::string_view k = trim(raw.substr(0, eq));
  if (k.empty()) return false;
  *key = k;
  *valuePos = eq + 1;
  return true;
}

}  // namespace

std::size_t ProfileFile::NameHash::operator()(std::string_view s) const {
  // Every byte is folded, trail bytes too: names that NameEqual finds equal still hash alike,
  // and the rare trail byte that is a letter only shares a bucket.
  std::uint64_t h = 14695981039346656037ull;
  for (const char c : s) h = (h ^ foldAscii(static_cast<unsigned char>(c))) * 1099511628211ull;
  return static_cast<std::size_t>(h);
}

bool ProfileFile::NameEqual::operator()(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // names are mostly asked for as the file spells them
  for (std::size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if (foldAscii(x) != foldAscii(y)) return false;
    if (cp932::IsLeadByte(x) && i + 1 < a.size()) {
      ++i;
      if (a[i] != b[i]) return false;
    }
  }
  return true;
}

std::string_view ProfileFile::keep(std::string text) {
  return texts_.emplace_back(std::move(text));
}

void ProfileFile::NameIndex::reserve(std::size_t count) {
  std::size_t capacity = 8;
  while (capacity < 2 * count) capacity *= 2;
  if (capacity <= slots_.size()) return;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(capacity, Slot{});
  size_ = 0;
  for (const Slot& slot : old)
    if (slot.used) insert(slot.name, slot.value);
}

void ProfileFile::NameIndex::insert(std::string_view name, std::size_t value) {
  if (2 * (size_ + 1) > slots_.size()) reserve(size_ + 1);
  const std::size_t hash = NameHash{}(name);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (!slot.used) {
      slot = Slot{name, hash, value, true};
      ++size_;
      return;
    }
    if (slot.hash == hash && NameEqual{}(slot.name, name)) return;
  }
}

const std::size_t* ProfileFile::NameIndex::find(std::string_view name) const {
  if (slots_.empty()) return nullptr;
  const std::size_t hash = NameHash{}(name);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (!slot.used) return nullptr;
    if (slot.hash == hash && NameEqual{}(slot.name, name)) return &slot.value;
  }
}

void ProfileFile::NameIndex::clear() {
  slots_.clear();
  size_ = 0;
}

void ProfileFile::parse(std::string_view read) {
  std::string copy(read);  // first: `read` may be this file's own text
  sections_.clear();
  sectionIndex_.clear();
  texts_.clear();
  const std::string_view text = keep(std::move(copy));
  // Split first, so that each section's lines and keys are allocated once at their size.
  std::vector<std::string_view> lines;
  std::vector<std::size_t> headers;  // indices into lines of the section lines
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    pos = next;
    const std::string_view t = trim(raw);
    if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos)
      headers.push_back(lines.size());
    lines.push_back(raw);
  }
  headers.push_back(lines.size());

  sections_.reserve(headers.size());
  sections_.emplace_back();  // the lines before the first section
  std::size_t from = 0;
  for (std::size_t h : headers) {
    Section& s = sections_.back();
    s.body.reserve(h - from);
    s.keys.reserve(h - from);
    for (std::size_t i = from; i < h; ++i) addLine(s, lines[i]);
    if (h == lines.size()) break;
    const std::string_view t = trim(lines[h]);
    Section next;
    next.hasHeader = true;
    next.header = lines[h];
    sections_.push_back(std::move(next));
    sectionIndex_.insert(trim(t.substr(1, t.rfind(']') - 1)), sections_.size() - 1);
    from = h + 1;
  }
}

void ProfileFile::addLine(Section& s, std::string_view raw) {
  Line line{raw, 0};
  std::string_view key;
  if (keyOfLine(raw, &key, &line.value)) s.keys.insert(key, s.body.size());
  s.body.push_back(line);
}

std::string ProfileFile::text() const {
  std::size_t size = 0;
  for (const Section& s : sections_) {
    if (s.hasHeader) size += s.header.size() + 2;
    for (const Line& l : s.body) size += l.raw.size() + 2;
  }
  std::string out;
  out.reserve(size);
  for (const Section& s : sections_) {
    if (s.hasHeader) out.append(s.header).append("\r\n");
    for (const Line& l : s.body) out.append(l.raw).append("\r\n");
  }
  return out;
}

const ProfileFile::Line* ProfileFile::find(std::string_view section, std::string_view key) const {
  const std::size_t* s = sectionIndex_.find(section);
  if (!s) return nullptr;
  const Section& sec = sections_[*s];
  const std::size_t* k = sec.keys.find(key);
  return k ? &sec.body[*k] : nullptr;
}

bool ProfileFile::hasKey(std::string_view section, std::string_view key) const {
  return find(section, key) != nullptr;
}

std::string_view ProfileFile::cleanValue(std::string_view raw) {
  std::string_view v = trim(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return v;
}

bool ProfileFile::parseInteger(std::string_view text, int* out) {
  // One sign at most: "+-5" and "-+5" are not numbers.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  if (text.empty() || text.front() == '+') return false;
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (ec != std::errc{} || ptr != text.data() + text.size()) return false;
  *out = value;
  return true;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  const Line* l = find(section, key);
  if (!l) return std::string(defaultValue);
  return std::string(cleanValue(l->raw.substr(l->value)));
}

int ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
  const Line* l = find(section, key);
  if (!l) return defaultValue;
  int value = defaultValue;
  return parseInteger(cleanValue(l->raw.substr(l->value)), &value) ? value : defaultValue;
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key,
                           bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

ProfileFile::Section& ProfileFile::sectionFor(std::string_view section) {
  if (const std::size_t* s = sectionIndex_.find(section)) return sections_[*s];
  if (sections_.empty()) sections_.emplace_back();
  Section fresh;
  fresh.hasHeader = true;
  std::string header;
  header.reserve(section.size() + 2);
  header.append("[").append(section).append("]");
  fresh.header = keep(std::move(header));
  sections_.push_back(std::move(fresh));
  sectionIndex_.insert(sections_.back().header.substr(1, section.size()), sections_.size() - 1);
  return sections_.back();
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  if (trim(section).size() != section.size() || section.empty() ||
      section.find(']') != std::string_view::npos || hasLineBreak(section))
    return false;
  if (trim(key).size() != key.size() || key.empty() || key.front() == '[' ||
      key.find('=') != std::string_view::npos || hasLineBreak(key))
    return false;
  // Only a LF ends a line when the file is read, so a lone CR is kept in a value: a load can
  // give one (from a hand-edited file), and the save must be able to write it back.
  if (value.find('\n') != std::string_view::npos) return false;

  Section& s = sectionFor(section);
  if (const std::size_t* k = s.keys.find(key)) {
    // Replaced in place, keeping the name as the file spells it.
    Line& line = s.body[*k];
    std::string_view existing;
    std::size_t valuePos = 0;
    keyOfLine(line.raw, &existing, &valuePos);
    std::string raw;
    raw.reserve(existing.size() + 1 + value.size());
    raw.append(existing).append("=").append(value);
    line.raw = keep(std::move(raw));
    line.value = existing.size() + 1;
    return true;
  }
  // A new key goes after the section's last line that is not blank, so that a blank line
  // that separates it from the next section stays at the end.
  std::size_t at = s.body.size();
  while (at > 0 && isBlankLine(s.body[at - 1].raw)) --at;
  std::string raw;
  raw.reserve(key.size() + 1 + value.size());
  raw.append(key).append("=").append(value);
  const Line line{keep(std::move(raw)), key.size() + 1};
  s.body.insert(s.body.begin() + static_cast<std::ptrdiff_t>(at), line);
  s.keys.insert(line.raw.substr(0, key.size()), at);
  return true;
}

bool ProfileFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

ProfileFile::ReadStatus ProfileFile::readFile(const fs::path& path, ProfileFile* out) {
  out->parse({});
  std::string data;
  switch (ReadFileBytes(path, &data, kMaxFileSize)) {
    case FileReadStatus::Ok:
      break;
    case FileReadStatus::NotFound:
      return ReadStatus::NotFound;
    case FileReadStatus::Unreadable:
      return ReadStatus::Unreadable;
    case FileReadStatus::TooLarge:
      return ReadStatus::TooLarge;
  }
  out->parse(data);
  return ReadStatus::Ok;
}

bool ProfileFile::writeFile(const fs::path& path) const {
  return WriteFileAtomically(path, text());
}

}  // namespace orivel
