#pragma once

#include <QByteArray>
#include <QStringView>
#include <string_view>

#include "book/datatype.h"

// The little JSON that orivel-cli writes: UTF-8, one object a line.
namespace orivel::cli {

// Appends the text as a JSON string: quotes, backslashes and control characters escaped,
// everything else as UTF-8.
void AppendJsonString(QByteArray& out, QStringView text);

// Appends code page 932 text as a JSON string; a byte that does not decode becomes U+FFFD.
void AppendJsonCp932(QByteArray& out, std::string_view cp932);

// Opens the object of a listed entry with the fields every listing shares:
// {"index": i, "name": …, "zip_code": …, "address": …
void AppendEntryHead(QByteArray& out, int index, const datatype& entry);

}  // namespace orivel::cli
