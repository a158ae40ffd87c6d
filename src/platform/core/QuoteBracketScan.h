#pragma once

namespace veldra {

// Follows quotes and square brackets through a text read one character at a time, for the
// readers that look for a character only where it stands outside quoted values and, for
// some, outside brackets: a query's "/" and its conditions, a start tag's "=" and ">", the
// ">" that ends a document type. A quote opened by ' or " ends at the same character;
// brackets and the other quote inside it do not count.
class QuoteBracketScan {
public:
    enum class Role {
        Quoted,  // a quote mark, or a character between two
        Open,    // '[' outside quotes
        Close,   // ']' outside quotes
        Plain,   // any other character outside quotes
    };

    // What `c` is where it stands; depth() counts it.
    Role take(char32_t c)
    {
        if (quote_) {
            if (c == quote_)
                quote_ = 0;
            return Role::Quoted;
        }
        switch (c) {
        case '"':
        case '\'': quote_ = c; return Role::Quoted;
        case '[': ++depth_; return Role::Open;
        case ']': --depth_; return Role::Close;
        default: return Role::Plain;
        }
    }

    // Brackets opened and not closed so far; below zero after a stray ']'.
    int depth() const { return depth_; }
    // Whether every quote and bracket opened so far was closed.
    bool balanced() const { return depth_ == 0 && quote_ == 0; }

private:
    char32_t quote_ = 0;
    int depth_ = 0;
};

} // namespace veldra
