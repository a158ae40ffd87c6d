#include "platform/xml/query/QueryTranslator.h"

#include "platform/xml/io/XmlErrors.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace veldra::xml {

namespace {

enum class Tok {
    Slash, DoubleSlash, Dot, DotDot, At, Star, LBracket, RBracket, LParen, RParen,
    Pipe, Comma, Equals, NotEquals, Literal, Number, Name, End
};

struct Token {
    Tok type;
    QString text;    // literal (with its quotes), number, or local name
    QString prefix;  // of a prefixed name
    qsizetype position;
};

// Nested predicates, parentheses and not() recurse; deeper queries are refused before
// they can exhaust the stack. The program's own queries nest a few levels at most.
constexpr int kMaxNesting = 100;
// A longer query is refused before the query engine compiles it into more steps than it takes.
// The program's own queries hold a few dozen parts.
constexpr size_t kMaxParts = 100000;

// The query is the user's text: it goes in with every other argument in one pass, so a
// '%1' inside it is never taken for a placeholder.
QString unsupported(const QString& query, const QString& what, qsizetype position)
{
    return QStringLiteral("The query '%1' is not supported: %2 at position %3.")
        .arg(query, what, QString::number(position + 1));
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-');
}

// What XML allows in text, and so the query engine in quoted text: no NUL, no control
// character but tab and line ends, no U+FFFE or U+FFFF.
bool isXmlCharacter(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == '\t' || u == '\n' || u == '\r';
    return u != 0xFFFE && u != 0xFFFF;
}

class Lexer {
public:
    explicit Lexer(const QString& query) : q_(query) {}

    std::vector<Token> tokens()
    {
        std::vector<Token> result;
        for (;;) {
            while (i_ < q_.size() && q_[i_].isSpace())
                ++i_;
            if (i_ >= q_.size()) {
                result.push_back({Tok::End, {}, {}, i_});
                return result;
            }
            if (result.size() == kMaxParts)
                fail(QStringLiteral("it has more than %1 names, operators and values").arg(kMaxParts));
            result.push_back(next());
        }
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        detail::throwQueryError(unsupported(q_, what, i_));
    }

    QChar peek(qsizetype ahead = 0) const
    {
        return i_ + ahead < q_.size() ? q_[i_ + ahead] : QChar();
    }

    Token symbol(Tok type, int length)
    {
        Token t{type, q_.mid(i_, length), {}, i_};
        i_ += length;
        return t;
    }

    Token next()
    {
        const QChar c = peek();
        switch (c.unicode()) {
        case '/': return peek(1) == QLatin1Char('/') ? symbol(Tok::DoubleSlash, 2) : symbol(Tok::Slash, 1);
        case '.':
            if (peek(1) == QLatin1Char('.'))
                return symbol(Tok::DotDot, 2);
            return peek(1).isDigit() ? number() : symbol(Tok::Dot, 1);
        case '@': return symbol(Tok::At, 1);
        case '*': return symbol(Tok::Star, 1);
        case '[': return symbol(Tok::LBracket, 1);
        case ']': return symbol(Tok::RBracket, 1);
        case '(': return symbol(Tok::LParen, 1);
        case ')': return symbol(Tok::RParen, 1);
        case '|': return symbol(Tok::Pipe, 1);
        case ',': return symbol(Tok::Comma, 1);
        case '=': return symbol(Tok::Equals, 1);
        case '!':
            if (peek(1) == QLatin1Char('='))
                return symbol(Tok::NotEquals, 2);
            break;
        case '\'':
        case '"': return literal(c);
        default:
            if (c.isDigit())
                return number();
            if (isNameStart(c))
                return name();
        }
        fail(QStringLiteral("unexpected '%1'").arg(c));
    }

    // Text in quotes; the quote doubled inside it stands for itself. The token's text is its
    // value, without the enclosing quotes.
    Token literal(QChar quote)
    {
        const qsizetype start = i_;
        QString value;
        for (qsizetype from = i_ + 1;;) {
            const qsizetype end = q_.indexOf(quote, from);
            if (end < 0)
                fail(QStringLiteral("unterminated text in quotes"));
            value += QStringView(q_).mid(from, end - from);
            if (peekAt(end + 1) != quote) {
                i_ = end + 1;
                break;
            }
            value += quote;
            from = end + 2;
        }
        if (const qsizetype nul = q_.indexOf(QChar(0), start); nul >= 0 && nul < i_)
            detail::throwQueryError(
                unsupported(q_, QStringLiteral("the text in quotes holds the character U+0000, which no text holds"), nul));
        return {Tok::Literal, value, {}, start};
    }

    QChar peekAt(qsizetype at) const { return at < q_.size() ? q_[at] : QChar(); }

    Token number()
    {
        const qsizetype start = i_;
        while (peek().isDigit())
            ++i_;
        if (peek() == QLatin1Char('.')) {
            ++i_;
            while (peek().isDigit())
                ++i_;
        }
        return {Tok::Number, q_.mid(start, i_ - start), {}, start};
    }

    QString ncName()
    {
        const qsizetype start = i_;
        while (i_ < q_.size() && isNameChar(q_[i_]))
            ++i_;
        return q_.mid(start, i_ - start);
    }

    Token name()
    {
        const qsizetype start = i_;
        QString local = ncName();
        QString prefix;
        if (peek() == QLatin1Char(':')) {
            if (peek(1) == QLatin1Char(':'))
                fail(QStringLiteral("axes ('::') are not supported"));
            ++i_;
            prefix = local;
            if (peek() == QLatin1Char('*')) {
                ++i_;
                local = QStringLiteral("*");
            } else if (isNameStart(peek())) {
                local = ncName();
            } else {
                fail(QStringLiteral("a name must follow the prefix '%1:'").arg(prefix));
            }
        }
        return {Tok::Name, local, prefix, start};
    }

    const QString& q_;
    qsizetype i_ = 0;
};

class Translator {
public:
    Translator(const QString& query, const QSet<QString>& boundPrefixes)
        : query_(query), bound_(boundPrefixes), tokens_(Lexer(query).tokens())
    {
    }

    TranslatedQuery translate()
    {
        if (peek().type == Tok::End)
            detail::throwQueryError(QStringLiteral("The query is empty."));
        QString xpath = unionExpr();
        if (peek().type != Tok::End)
            unexpected();
        return {xpath, texts_};
    }

private:
    const Token& peek(size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
    const Token& take() { return tokens_[std::min(pos_++, tokens_.size() - 1)]; }

    bool isWord(const Token& t, const char* word) const
    {
        return t.type == Tok::Name && t.prefix.isEmpty() && t.text == QLatin1String(word);
    }

    [[noreturn]] void fail(const QString& what, qsizetype position) const
    {
        detail::throwQueryError(unsupported(query_, what, position));
    }

    [[noreturn]] void unexpected() const
    {
        const Token& t = peek();
        if (t.type == Tok::End)
            fail(QStringLiteral("it ends too early"), t.position);
        fail(QStringLiteral("unexpected '%1'").arg(t.prefix.isEmpty() ? t.text : t.prefix + QLatin1Char(':') + t.text),
             t.position);
    }

    void expect(Tok type)
    {
        if (peek().type != type)
            unexpected();
        ++pos_;
    }

    static bool startsStep(const Token& t)
    {
        return t.type == Tok::Dot || t.type == Tok::DotDot || t.type == Tok::At || t.type == Tok::Star
            || t.type == Tok::Name;
    }

    QString unionExpr()
    {
        QString xpath = pathExpr();
        while (peek().type == Tok::Pipe) {
            take();
            xpath += QLatin1String(" | ") + pathExpr();
        }
        return xpath;
    }

    QString pathExpr()
    {
        if (peek().type == Tok::Slash) {
            take();
            return startsStep(peek()) ? QLatin1Char('/') + relativePath() : QStringLiteral("/");
        }
        if (peek().type == Tok::DoubleSlash) {
            take();
            return QLatin1String("//") + relativePath();
        }
        if (!startsStep(peek()))
            unexpected();
        return relativePath();
    }

    QString relativePath()
    {
        QString xpath = step();
        while (peek().type == Tok::Slash || peek().type == Tok::DoubleSlash) {
            xpath += take().text;
            xpath += step();
        }
        return xpath;
    }

    QString step()
    {
        const Token& t = take();
        switch (t.type) {
        case Tok::Dot:
        case Tok::DotDot:
            if (peek().type == Tok::LBracket)
                fail(QStringLiteral("a predicate cannot follow '%1'").arg(t.text), peek().position);
            return t.text;
        case Tok::At: return attributeTest() + predicates();
        case Tok::Star: return QStringLiteral("*") + predicates();
        case Tok::Name: return nameTest(t) + predicates();
        default: --pos_; unexpected();
        }
    }

    QString attributeTest()
    {
        const Token& t = take();
        if (t.type == Tok::Star)
            return QStringLiteral("@*");
        if (t.type != Tok::Name || peek().type == Tok::LParen) {
            --pos_;
            unexpected();
        }
        if (t.text == QLatin1String("xmlns") || t.prefix == QLatin1String("xmlns"))
            fail(QStringLiteral("namespace declarations cannot be queried"), t.position);
        if (t.prefix.isEmpty())
            return QLatin1Char('@') + t.text;
        if (t.prefix != QLatin1String("xml"))
            requireBound(t);
        return QLatin1Char('@') + t.prefix + QLatin1Char(':') + t.text;
    }

    QString nameTest(const Token& t)
    {
        if (peek().type == Tok::LParen)
            return nodeTypeTest(t);
        if (t.prefix.isEmpty())
            return QStringLiteral("*[local-name()='%1']").arg(t.text);
        requireBound(t);
        return t.prefix + QLatin1Char(':') + t.text;
    }

    QString nodeTypeTest(const Token& t)
    {
        const bool known = t.prefix.isEmpty()
            && (t.text == QLatin1String("text") || t.text == QLatin1String("comment") || t.text == QLatin1String("node")
                || t.text == QLatin1String("processing-instruction"));
        if (!known)
            fail(QStringLiteral("the function '%1()' is not supported").arg(t.text), t.position);
        expect(Tok::LParen);
        expect(Tok::RParen);
        return t.text + QLatin1String("()");
    }

    void requireBound(const Token& t) const
    {
        if (!bound_.contains(t.prefix))
            fail(QStringLiteral("the prefix '%1' is not bound to a namespace").arg(t.prefix), t.position);
    }

    QString predicates()
    {
        QString xpath;
        while (peek().type == Tok::LBracket) {
            take();
            if (peek().type == Tok::Number && peek(1).type == Tok::RBracket)
                xpath += position(take());
            else
                xpath += QLatin1Char('[') + orExpr() + QLatin1Char(']');
            expect(Tok::RBracket);
        }
        return xpath;
    }

    // A whole number counts from 0 here and from 1 in XPath.
    QString position(const Token& number) const
    {
        bool whole = false;
        const qlonglong index = number.text.toLongLong(&whole);
        if (!whole || index > 1'000'000'000)
            fail(QStringLiteral("the position '%1' is not a whole number").arg(number.text), number.position);
        return QStringLiteral("[%1]").arg(index + 1);
    }

    // Every nesting (predicate, parentheses, not()) passes here.
    QString orExpr()
    {
        if (depth_ >= kMaxNesting)
            fail(QStringLiteral("it nests more than %1 levels deep").arg(kMaxNesting), peek().position);
        ++depth_;
        QString xpath = andExpr();
        while (isWord(peek(), "or")) {
            take();
            xpath += QLatin1String(" or ") + andExpr();
        }
        --depth_;
        return xpath;
    }

    QString andExpr()
    {
        QString xpath = comparison();
        while (isWord(peek(), "and")) {
            take();
            xpath += QLatin1String(" and ") + comparison();
        }
        return xpath;
    }

    QString comparison()
    {
        const Token& first = peek();
        const bool constant = first.type == Tok::Literal || first.type == Tok::Number || isConcat(first);
        QString xpath = operand();
        if (peek().type == Tok::Equals || peek().type == Tok::NotEquals) {
            xpath += take().text;
            xpath += operand();
        } else if (constant) {
            fail(QStringLiteral("a number or text alone is not a condition"), first.position);
        }
        return xpath;
    }

    bool isConcat(const Token& t) const { return isWord(t, "concat") && peek(1).type == Tok::LParen; }

    // concat() of two or more texts: the one way to write a text that holds both kinds of quote.
    QString concat()
    {
        take();
        take();
        QString xpath = QStringLiteral("concat(") + text();
        expect(Tok::Comma);
        xpath += QLatin1Char(',') + text();
        while (peek().type == Tok::Comma) {
            take();
            xpath += QLatin1Char(',') + text();
        }
        expect(Tok::RParen);
        return xpath + QLatin1Char(')');
    }

    QString text()
    {
        if (peek().type != Tok::Literal)
            unexpected();
        return literal(take().text);
    }

    // A text the query engine reads as written when it can: in the quotes it does not hold,
    // and only characters XML allows. Any other (both quotes, a control character) is bound
    // to a variable of the evaluation: it stays one text whatever it holds.
    QString literal(const QString& value)
    {
        if (std::all_of(value.cbegin(), value.cend(), isXmlCharacter)) {
            if (!value.contains(QLatin1Char('\'')))
                return QLatin1Char('\'') + value + QLatin1Char('\'');
            if (!value.contains(QLatin1Char('"')))
                return QLatin1Char('"') + value + QLatin1Char('"');
        }
        texts_ << value;
        return QLatin1Char('$') + QueryTranslator::variableName(texts_.size() - 1);
    }

    QString operand()
    {
        const Token& t = peek();
        if (t.type == Tok::Literal)
            return literal(take().text);
        if (t.type == Tok::Number)
            return take().text;
        if (t.type == Tok::LParen) {
            take();
            QString inner = orExpr();
            expect(Tok::RParen);
            return QLatin1Char('(') + inner + QLatin1Char(')');
        }
        if (isConcat(t))
            return concat();
        if (isWord(t, "not") && peek(1).type == Tok::LParen) {
            take();
            take();
            QString inner = orExpr();
            expect(Tok::RParen);
            return QLatin1String("not(") + inner + QLatin1Char(')');
        }
        if (t.type == Tok::Slash || t.type == Tok::DoubleSlash || startsStep(t))
            return unionExpr();
        unexpected();
    }

    const QString& query_;
    const QSet<QString>& bound_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    int depth_ = 0;
    QStringList texts_;
};

} // namespace

TranslatedQuery QueryTranslator::translate(const QString& query, const QSet<QString>& boundPrefixes)
{
    return Translator(query, boundPrefixes).translate();
}

QString QueryTranslator::toXPath(const QString& query, const QSet<QString>& boundPrefixes)
{
    return translate(query, boundPrefixes).xpath;
}

QString QueryTranslator::variableName(qsizetype index)
{
    return QStringLiteral("text%1").arg(index + 1);
}

} // namespace veldra::xml
