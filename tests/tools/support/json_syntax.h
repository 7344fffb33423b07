// Whether a text is one JSON value (RFC 8259) and nothing else but white
// space: enough to tell that a command's --json output parses.
#pragma once

#include <cctype>
#include <string_view>

class JsonSyntax {
  public:
    static bool IsJson(std::string_view text)
    {
        JsonSyntax reader{text};
        return reader.Value() && (reader.SkipSpace(), reader.at == text.size());
    }

  private:
    explicit JsonSyntax(std::string_view text) : text(text) {}

    void SkipSpace()
    {
        while (at < text.size() && std::string_view(" \t\r\n").find(text[at]) != text.npos)
            at++;
    }
    bool Take(char c)
    {
        SkipSpace();
        if (at < text.size() && text[at] == c) {
            at++;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word)
    {
        if (text.substr(at, word.size()) != word)
            return false;
        at += word.size();
        return true;
    }
    bool String()
    {
        if (!Take('"'))
            return false;
        for (; at < text.size(); at++) {
            unsigned char c = (unsigned char)text[at];
            if (c == '"')
                return ++at, true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                if (++at >= text.size())
                    return false;
                if (text[at] == 'u') {
                    for (int i = 0; i < 4; i++)
                        if (++at >= text.size() || !std::isxdigit((unsigned char)text[at]))
                            return false;
                } else if (std::string_view("\"\\/bfnrt").find(text[at]) == text.npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Digits()
    {
        size_t start = at;
        while (at < text.size() && std::isdigit((unsigned char)text[at]))
            at++;
        return at > start;
    }
    bool Number()
    {
        Word("-");
        if (!Word("0") && !Digits())
            return false;
        if (Word(".") && !Digits())
            return false;
        if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
            at++;
            Word("+") || Word("-");
            return Digits();
        }
        return true;
    }
    template <typename Item> bool Sequence(char close, Item item)
    {
        if (Take(close))
            return true;
        do {
            if (!item())
                return false;
        } while (Take(','));
        return Take(close);
    }
    bool Value()
    {
        SkipSpace();
        if (at >= text.size())
            return false;
        switch (text[at]) {
        case '{': at++; return Sequence('}', [this] { return String() && Take(':') && Value(); });
        case '[': at++; return Sequence(']', [this] { return Value(); });
        case '"': return String();
        case 't': return Word("true");
        case 'f': return Word("false");
        case 'n': return Word("null");
        default: return Number();
        }
    }

    std::string_view text;
    size_t at = 0;
};
