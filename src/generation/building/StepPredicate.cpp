#include "generation/building/StepPredicate.h"

#include <algorithm>

namespace veldra {

namespace {

enum class Tok { Name, Literal, LParen, RParen, Slash, At, Star, Dot, DotDot, Equals, NotEquals, End, Unknown };

struct Token {
    Tok type;
    QString text;
};

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_')
        || c == QLatin1Char('.') || c == QLatin1Char('-');
}

// Splits a condition into tokens; anything outside the forms taken becomes Unknown.
std::vector<Token> tokens(const QString& text)
{
    std::vector<Token> result;
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < text.size() ? text[k] : QChar(); };
    while (true) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        if (i >= text.size())
            break;
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = text.indexOf(c, i + 1);
            if (end < 0)
                return {{Tok::Unknown, {}}, {Tok::End, {}}};
            result.push_back({Tok::Literal, text.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (isAsciiLetter(c) || c == QLatin1Char('_')) {
            const qsizetype start = i;
            while (i < text.size() && isNameChar(text[i]))
                ++i;
            if (at(i) == QLatin1Char(':') || at(i).unicode() >= 0x80)
                return {{Tok::Unknown, {}}, {Tok::End, {}}};
            result.push_back({Tok::Name, text.mid(start, i - start)});
        } else if (c == QLatin1Char('.') && at(i + 1) == QLatin1Char('.')) {
            result.push_back({Tok::DotDot, {}});
            i += 2;
        } else if (c == QLatin1Char('.') && !at(i + 1).isDigit()) {
            result.push_back({Tok::Dot, {}});
            ++i;
        } else if (c == QLatin1Char('!') && at(i + 1) == QLatin1Char('=')) {
            result.push_back({Tok::NotEquals, {}});
            i += 2;
        } else {
            static const QString singles = QStringLiteral("()/@*=");
            static const Tok kinds[] = {Tok::LParen, Tok::RParen, Tok::Slash, Tok::At, Tok::Star, Tok::Equals};
            const qsizetype k = singles.indexOf(c);
            if (k < 0)
                return {{Tok::Unknown, {}}, {Tok::End, {}}};
            result.push_back({kinds[k], {}});
            ++i;
        }
    }
    result.push_back({Tok::End, {}});
    return result;
}

struct PathStep {
    enum class Kind { Self, Parent, Element, Attribute } kind;
    NameTest test;         // Element
    QByteArray attribute;  // Attribute
};

} // namespace

struct StepPredicate::Expression {
    enum class Kind { Or, And, Not, Exists, Equals, NotEquals } kind;
    std::vector<std::shared_ptr<const Expression>> operands;
    std::vector<PathStep> path;
    QByteArray text;
};

namespace {

using Expression = StepPredicate::Expression;
using ExpressionPtr = std::shared_ptr<const Expression>;

class Parser {
public:
    explicit Parser(const QString& condition) : tokens_(tokens(condition)) {}

    ExpressionPtr parse()
    {
        ExpressionPtr expression = orExpression();
        return expression && peek().type == Tok::End ? expression : nullptr;
    }

private:
    const Token& peek() const { return tokens_[pos_]; }
    const Token& take() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
    bool isWord(const char* word) const { return peek().type == Tok::Name && peek().text == QLatin1String(word); }

    ExpressionPtr joined(Expression::Kind kind, const char* word, ExpressionPtr (Parser::*operand)())
    {
        ExpressionPtr first = (this->*operand)();
        if (!first || !isWord(word))
            return first;
        auto joint = std::make_shared<Expression>(Expression{kind, {first}, {}, {}});
        while (isWord(word)) {
            take();
            ExpressionPtr next = (this->*operand)();
            if (!next)
                return nullptr;
            joint->operands.push_back(next);
        }
        return joint;
    }

    ExpressionPtr orExpression() { return joined(Expression::Kind::Or, "or", &Parser::andExpression); }
    ExpressionPtr andExpression() { return joined(Expression::Kind::And, "and", &Parser::unary); }

    ExpressionPtr enclosed()
    {
        take();
        ExpressionPtr inner = orExpression();
        if (!inner || peek().type != Tok::RParen)
            return nullptr;
        take();
        return inner;
    }

    ExpressionPtr unary()
    {
        if (isWord("not") && tokens_[pos_ + 1].type == Tok::LParen) {
            take();
            ExpressionPtr inner = enclosed();
            return inner ? std::make_shared<Expression>(Expression{Expression::Kind::Not, {inner}, {}, {}}) : nullptr;
        }
        if (peek().type == Tok::LParen)
            return enclosed();
        auto comparison = std::make_shared<Expression>(Expression{Expression::Kind::Exists, {}, {}, {}});
        if (!path(comparison->path))
            return nullptr;
        if (peek().type == Tok::Equals || peek().type == Tok::NotEquals) {
            comparison->kind = take().type == Tok::Equals ? Expression::Kind::Equals : Expression::Kind::NotEquals;
            if (peek().type != Tok::Literal)
                return nullptr;
            comparison->text = take().text.toUtf8();
        }
        return comparison;
    }

    bool path(std::vector<PathStep>& steps)
    {
        while (true) {
            const Token& t = take();
            if (t.type == Tok::Dot) {
                steps.push_back({PathStep::Kind::Self, {}, {}});
            } else if (t.type == Tok::DotDot) {
                steps.push_back({PathStep::Kind::Parent, {}, {}});
            } else if (t.type == Tok::Star) {
                steps.push_back({PathStep::Kind::Element, {}, {}});
            } else if (t.type == Tok::Name && peek().type != Tok::LParen) {
                steps.push_back({PathStep::Kind::Element, {t.text.toUtf8()}, {}});
            } else if (t.type == Tok::At && peek().type == Tok::Name && peek().text != QLatin1String("xmlns")) {
                steps.push_back({PathStep::Kind::Attribute, {}, take().text.toUtf8()});
                return peek().type != Tok::Slash;  // an attribute ends its path
            } else {
                return false;
            }
            if (peek().type != Tok::Slash)
                return true;
            take();
        }
    }

    std::vector<Token> tokens_;
    size_t pos_ = 0;
};

// The string value of a node as the query engine reads it, compared without copying it where
// it is one text as stored.
bool stringValueEquals(const xml::Cursor& node, const QByteArray& text)
{
    return node.textUtf8() == text;
}

// Whether any node at steps[index...] from `node` passes `test`; stops at the first.
template<typename NodeTest>
bool anyAlong(const xml::Cursor& node, const std::vector<PathStep>& steps, size_t index, const NodeTest& test)
{
    if (index == steps.size())
        return test(node);
    const PathStep& step = steps[index];
    switch (step.kind) {
    case PathStep::Kind::Self: return anyAlong(node, steps, index + 1, test);
    case PathStep::Kind::Parent: {
        const xml::Cursor parent = node.parent();
        return parent && anyAlong(parent, steps, index + 1, test);
    }
    case PathStep::Kind::Element:
        for (const xml::Cursor child : node.children(step.test.lookedFor()))
            if (anyAlong(child, steps, index + 1, test))
                return true;
        return false;
    case PathStep::Kind::Attribute:
        if (const xml::Cursor attribute = node.attribute(step.attribute.constData()))
            return anyAlong(attribute, steps, index + 1, test);
        return false;
    }
    return false;
}

bool evaluate(const Expression& expression, const xml::Cursor& node)
{
    switch (expression.kind) {
    case Expression::Kind::Or:
        for (const ExpressionPtr& operand : expression.operands)
            if (evaluate(*operand, node))
                return true;
        return false;
    case Expression::Kind::And:
        for (const ExpressionPtr& operand : expression.operands)
            if (!evaluate(*operand, node))
                return false;
        return true;
    case Expression::Kind::Not: return !evaluate(*expression.operands.front(), node);
    case Expression::Kind::Exists:
        return anyAlong(node, expression.path, 0, [](const xml::Cursor&) { return true; });
    case Expression::Kind::Equals:
        return anyAlong(node, expression.path, 0,
                        [&](const xml::Cursor& n) { return stringValueEquals(n, expression.text); });
    case Expression::Kind::NotEquals:
        return anyAlong(node, expression.path, 0,
                        [&](const xml::Cursor& n) { return !stringValueEquals(n, expression.text); });
    }
    return false;
}

std::optional<int> reachOf(const Expression& expression)
{
    int deepest = 0;
    for (const ExpressionPtr& operand : expression.operands) {
        const std::optional<int> reach = reachOf(*operand);
        if (!reach)
            return std::nullopt;
        deepest = std::max(deepest, *reach);
    }
    int depth = 0;
    for (const PathStep& step : expression.path) {
        if (step.kind == PathStep::Kind::Parent)
            return std::nullopt;
        depth += step.kind == PathStep::Kind::Element;
    }
    const bool comparesText = expression.kind == Expression::Kind::Equals || expression.kind == Expression::Kind::NotEquals;
    if (comparesText && expression.path.back().kind != PathStep::Kind::Attribute)
        return std::nullopt;
    return std::max(deepest, depth);
}

bool goesDownTo(const Expression& expression, const xml::Cursor& child)
{
    for (const ExpressionPtr& operand : expression.operands)
        if (goesDownTo(*operand, child))
            return true;
    for (const PathStep& step : expression.path) {
        if (step.kind == PathStep::Kind::Self)
            continue;
        return step.kind == PathStep::Kind::Parent || (step.kind == PathStep::Kind::Element && step.test.matches(child));
    }
    return false;
}

} // namespace

std::optional<StepPredicate> StepPredicate::parse(const QString& condition)
{
    ExpressionPtr expression = Parser(condition).parse();
    if (!expression)
        return std::nullopt;
    return StepPredicate(std::move(expression));
}

bool StepPredicate::holds(const xml::Cursor& node) const
{
    return evaluate(*expression_, node);
}

std::optional<int> StepPredicate::reach() const
{
    return reachOf(*expression_);
}

bool StepPredicate::looksAtChild(const xml::Cursor& child) const
{
    return goesDownTo(*expression_, child);
}

} // namespace veldra
