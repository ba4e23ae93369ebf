#pragma once

// The rules of the INI files as tables of byte cases: what a read finds, what a write leaves. Our own reader and
// writer follow them everywhere; on Windows the system's INI services are held to them as well.

struct ReadCase
{
    const char* content;
    const char* section;
    const char* key;
    const char* expected; // "<default>" when the default comes back
};

inline const ReadCase kReads[] = {
    {"[Config]\r\nA=1\r\n", "Config", "A", "1"},
    {"[config]\r\na=1\r\n", "CONFIG", "A", "1"},                     // names ignore case
    {"[Config]\r\n  Key  =  value  \r\n", "Config", "Key", "value"}, // blanks around both trimmed
    {"[Config]\r\nK=\"quoted\"\r\n", "Config", "K", "quoted"},       // one pair of quotes stripped
    {"[Config]\r\nK='single'\r\n", "Config", "K", "single"},
    {"[Config]\r\nK=\"mixed'\r\n", "Config", "K", "\"mixed'"},      // unlike quotes stay
    {"[Config]\r\nK=\"\"two\"\"\r\n", "Config", "K", "\"two\""},    // only one pair
    {"[Config]\r\nK=a=b\r\n", "Config", "K", "a=b"},                // split at the first "="
    {"[Config]\r\nK=1\r\nK=2\r\n", "Config", "K", "1"},             // first key wins
    {"[Config]\r\nK=1\r\n[Config]\r\nK=2\r\n", "Config", "K", "1"}, // first section wins
    {"[Config]\r\nK\r\nK=3\r\n", "Config", "K", "3"},               // a line without "=" is no key
    {"[Other]\r\nK=1\r\n", "Config", "K", "<default>"},
    {"K=1\r\n[Config]\r\n", "Config", "K", "<default>"}, // keys before any section belong to none
    {"[Config]\nK=unix\n", "Config", "K", "unix"},
    {"[Config]\rA=1\rK=mac\r", "Config", "K", "mac"}, // a lone CR ends a line too
    {"[Config]\r\nA=1\rK=mixed\n", "Config", "K", "mixed"},
    {"[Config]\r\nK=\r\n", "Config", "K", ""},
    {"", "Config", "K", "<default>"},
};

struct WriteCase
{
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

inline const WriteCase kWrites[] = {
    // replaced in place, every other byte untouched (LF-only lines and comments included); the key keeps
    // the spelling the file has, blanks around it dropped
    {"; note\n[Config]\nA=1\nB=2\n", "config", "a", "9", "; note\n[Config]\nA=9\nB=2\n"},
    {"[Config]\r\nlastpanelused=Old\r\n", "Config", "LastPanelUsed", "New", "[Config]\r\nlastpanelused=New\r\n"},
    {"[Config]\r\n  Key = old \r\nX=1\r\n", "Config", "KEY", "v", "[Config]\r\nKey=v\r\nX=1\r\n"},
    // a replaced last line without terminator gets one
    {"[Config]\r\nA=1", "Config", "A", "2", "[Config]\r\nA=2\r\n"},
    // lone CRs end lines: the new key goes into its section, the lines around it stay whole
    {"[A]\r\nd=1\r", "A", "b", "c", "[A]\r\nd=1\rb=c\r\n"},
    {"[A]\rd=1\r[B]\rx=2\r", "A", "b", "c", "[A]\rd=1\rb=c\r\n[B]\rx=2\r"},
    {"[A]\rd=1\r", "A", "d", "5", "[A]\rd=5\r"},
    // a new key goes after the section's last non-blank line
    {"[Config]\r\nA=1\r\n\r\n[Next]\r\nX=1\r\n", "Config", "B", "2", "[Config]\r\nA=1\r\nB=2\r\n\r\n[Next]\r\nX=1\r\n"},
    // a new section goes at the end with no blank line before it
    {"[Other]\r\nX=1\r\n", "Config", "K", "v", "[Other]\r\nX=1\r\n[Config]\r\nK=v\r\n"},
    // a last line without terminator gets one first
    {"[Config]\r\nA=1", "Config", "B", "2", "[Config]\r\nA=1\r\nB=2\r\n"},
    {"[Other]", "Config", "K", "v", "[Other]\r\n[Config]\r\nK=v\r\n"},
    // an empty value is still written
    {"", "Config", "LastPanelUsed", "", "[Config]\r\nLastPanelUsed=\r\n"},
};
