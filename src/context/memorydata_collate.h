// Text ordering of the in-memory table: a linguistic order (letters before
// their accented forms, lower case before upper case, punctuation before
// digits before letters), expressed as byte keys so that a sort can compare
// with memcmp.
#pragma once

#include <string>
#include <string_view>

namespace velmaro::collate {

// Appends the ordering key of a UTF-8 text to `out`. Keys of two texts
// compare with memcmp as the texts compare; with `caseInsensitive` the case
// level is left out, so "abc" and "ABC" get the same key. Key bytes are
// never 0, so a zero byte sorts below every key byte.
void AppendKey(std::string_view text, bool caseInsensitive, std::string& out);

// -1, 0 or 1 as `a` sorts below, equal to or above `b`.
int Compare(std::string_view a, std::string_view b, bool caseInsensitive);

// Equality under the order above (case-sensitive equality is byte equality).
bool Equal(std::string_view a, std::string_view b, bool caseInsensitive);

// Cuts a UTF-8 text to at most `chars` characters.
std::string_view Prefix(std::string_view text, size_t chars);

// Number of characters (code points) of a UTF-8 text.
size_t Length(std::string_view text);

}  // namespace velmaro::collate
