// The profile-file layer on arbitrary bytes. The input is a file's text; after the last NUL
// byte, if there is one, come the writes to try (section, key and value texts).
//
// Properties: every key the file holds reads as the rules say, under any case of its name,
// and never throws; the text written back is the file's lines with CR LF ends; a write that
// is accepted reads back as written, survives a rewrite and a fresh parse, and keeps every
// other line as it was; a refused write changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "ProfileModel.h"
#include "files/ProfileFile.h"

namespace {

using orivel::ProfileFile;
namespace fz = orivel::fuzz;

constexpr std::string_view kAbsent = "\x01(absent)";

bool hasBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// Whether the layer must accept this write.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || fz::trimBlanks(section).size() != section.size() ||
      section.find(']') != std::string_view::npos || hasBreak(section))
    return false;
  if (key.empty() || fz::trimBlanks(key).size() != key.size() || key.front() == '[' ||
      key.find('=') != std::string_view::npos || hasBreak(key))
    return false;
  return value.find('\n') == std::string_view::npos;
}

void checkReads(const ProfileFile& p, const std::vector<fz::ModelKey>& keys) {
  for (const fz::ModelKey& k : keys) {
    const std::string expected = fz::cleanRaw(k.raw);
    FUZZ_CHECK(p.hasKey(k.section, k.key));
    FUZZ_CHECK(p.ReadString(k.section, k.key, kAbsent) == expected);
    FUZZ_CHECK(p.ReadString(fz::foldName(k.section, true), fz::foldName(k.key, true), kAbsent) ==
               expected);
    FUZZ_CHECK(p.ReadString(fz::foldName(k.section), fz::foldName(k.key), kAbsent) == expected);
    const std::optional<int> n = fz::parseDecimal(expected);
    FUZZ_CHECK(p.ReadInteger(k.section, k.key, -7) == (n ? *n : -7));
    FUZZ_CHECK(p.ReadBool(k.section, k.key, false) == (n && *n != 0));
    FUZZ_CHECK(p.ReadBool(k.section, k.key, true) == (n ? *n != 0 : true));
  }
}

// `after` is `before` with the written key's line replaced or inserted, or with a new
// section line and key line at the end.
void checkOtherLinesKept(const std::vector<std::string>& before,
                         const std::vector<std::string>& after, std::string_view section,
                         std::string_view key) {
  auto isKeyLine = [&](const std::string& line) {
    const std::size_t eq = line.find('=');
    return eq != std::string::npos &&
           fz::foldName(fz::trimBlanks(std::string_view(line).substr(0, eq))) == fz::foldName(key);
  };
  if (after.size() == before.size()) {
    int differing = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (before[i] == after[i]) continue;
      ++differing;
      FUZZ_CHECK(isKeyLine(before[i]) && isKeyLine(after[i]));
    }
    FUZZ_CHECK(differing <= 1);
  } else if (after.size() == before.size() + 1) {
    std::size_t i = 0;
    while (i < before.size() && before[i] == after[i]) ++i;
    FUZZ_CHECK(isKeyLine(after[i]));
    for (; i < before.size(); ++i) FUZZ_CHECK(before[i] == after[i + 1]);
  } else {
    FUZZ_CHECK(after.size() == before.size() + 2);
    for (std::size_t i = 0; i < before.size(); ++i) FUZZ_CHECK(before[i] == after[i]);
    FUZZ_CHECK(after[before.size()] == "[" + std::string(section) + "]");
    FUZZ_CHECK(isKeyLine(after.back()));
  }
}

// Writes one key and checks it; `keys` follows the write.
void tryWrite(ProfileFile& p, std::vector<fz::ModelKey>& keys, const std::string section,
              const std::string key, const std::string& value) {
  const std::string before = p.text();
  const bool ok = p.WriteString(section, key, value);
  FUZZ_CHECK(ok == writable(section, key, value));
  const std::string after = p.text();
  if (!ok) {
    FUZZ_CHECK(after == before);
    return;
  }
  FUZZ_CHECK(p.ReadString(section, key, kAbsent) == fz::cleanRaw(value));
  checkOtherLinesKept(fz::splitLines(before), fz::splitLines(after), section, key);

  // The text written holds what was written and everything else as it read.
  const ProfileFile again(after);
  FUZZ_CHECK(again.text() == after);
  FUZZ_CHECK(again.ReadString(section, key, kAbsent) == fz::cleanRaw(value));
  const std::string foldedSection = fz::foldName(section);
  const std::string foldedKey = fz::foldName(key);
  bool known = false;
  for (fz::ModelKey& k : keys) {
    if (fz::foldName(k.section) == foldedSection && fz::foldName(k.key) == foldedKey) {
      k.raw = value;
      known = true;
    }
    FUZZ_CHECK(again.ReadString(k.section, k.key, kAbsent) == fz::cleanRaw(k.raw));
  }
  if (!known) keys.push_back({section, key, value});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.rfind('\0');
  const std::string_view text = nul == std::string_view::npos ? input : input.substr(0, nul);

  ProfileFile p(text);
  std::vector<fz::ModelKey> keys = fz::reachableKeys(text);
  FUZZ_CHECK(p.text() == fz::joinCrLf(fz::splitLines(text)));
  checkReads(p, keys);
  FUZZ_CHECK(p.ReadString("HEADER", kAbsent, "d") == "d");
  FUZZ_CHECK(p.ReadInteger(kAbsent, "Cnt", 42) == 42);
  FUZZ_CHECK(ProfileFile(p.text()).text() == p.text());

  if (nul == std::string_view::npos) {
    // Replace the first key, add one to a section that may exist and start a new section.
    if (!keys.empty()) tryWrite(p, keys, keys.front().section, keys.front().key, "v");
    tryWrite(p, keys, "HEADER", "Cnt", "12");
    tryWrite(p, keys, "Fresh\x81[", "key", " \"quoted\" ");
    return 0;
  }
  FuzzedDataProvider ops(data + nul + 1, size - nul - 1);
  for (int n = 0; n < 8 && ops.remaining_bytes() > 0; ++n) {
    std::string section = ops.ConsumeRandomLengthString(24);
    std::string key = ops.ConsumeRandomLengthString(24);
    // Often a name the file already holds, in another case.
    if (!keys.empty() && ops.ConsumeBool()) {
      const fz::ModelKey k = keys[ops.ConsumeIntegralInRange<std::size_t>(0, keys.size() - 1)];
      section = fz::foldName(k.section, ops.ConsumeBool());
      key = fz::foldName(k.key, ops.ConsumeBool());
    }
    const std::string value = ops.ConsumeRandomLengthString(64);
    tryWrite(p, keys, section, key, value);
  }
  return 0;
}
