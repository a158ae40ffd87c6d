#pragma once

// A small RTF reader for tests: enough of RTF to read back what the program writes
// (and what other RTF writers put around it) and to check colours, bold and sizes.
// Header-only, so that any test program can use it.

#include <QByteArray>
#include <algorithm>
#include <cctype>
#include <QColor>
#include <QList>
#include <QString>
#include <stdexcept>
#include <vector>

namespace veldra::test {

struct RtfRun {
    QString text;
    QColor colour;  // invalid: automatic colour
    bool bold = false;
    int halfPoints = 24;
    QString font;
};

struct RtfContent {
    QList<QColor> colourTable;  // index 0 is the automatic colour (invalid)
    QStringList fontTable;
    QList<RtfRun> runs;

    QString plainText() const
    {
        QString text;
        for (const RtfRun& r : runs)
            text += r.text;
        return text;
    }
};

class RtfReader {
public:
    // Throws std::runtime_error on anything that is not well-formed RTF.
    static RtfContent read(const QByteArray& rtf)
    {
        RtfReader reader(rtf);
        reader.parse();
        return std::move(reader.content_);
    }

private:
    enum class Destination { Text, FontTable, ColourTable, Skip };

    struct State {
        Destination destination = Destination::Text;
        int colour = 0;
        bool bold = false;
        int halfPoints = 24;
        int font = 0;
        int unicodeSkip = 1;
    };

    explicit RtfReader(const QByteArray& rtf) : in_(rtf) {}

    [[noreturn]] void fail(const char* what) const
    {
        throw std::runtime_error(std::string("RTF: ") + what + " at byte " + std::to_string(pos_));
    }

    void parse()
    {
        if (!in_.startsWith("{\\rtf1"))
            fail("missing {\\rtf1");
        while (pos_ < in_.size()) {
            const char c = in_.at(pos_);
            if (c == '{') {
                ++pos_;
                stack_.push_back(state_);
            } else if (c == '}') {
                ++pos_;
                if (stack_.empty())
                    fail("unbalanced }");
                endGroup();
                if (stack_.empty()) {
                    if (in_.mid(pos_).trimmed().size() != 0)
                        fail("text after the closing }");
                    return;
                }
            } else if (c == '\\') {
                controlWord();
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else {
                ++pos_;
                text(QString(QLatin1Char(c)));
            }
        }
        fail("missing closing }");
    }

    void endGroup()
    {
        if (state_.destination == Destination::FontTable && !fontName_.isEmpty()) {
            content_.fontTable << fontName_;
            fontName_.clear();
        }
        state_ = stack_.back();
        stack_.pop_back();
    }

    void controlWord()
    {
        ++pos_;  // backslash
        if (pos_ >= in_.size())
            fail("lone backslash");
        const char c = in_.at(pos_);
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        QByteArray word;
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_.at(pos_))))
            word += in_.at(pos_++);
        QByteArray digits;
        if (pos_ < in_.size() && in_.at(pos_) == '-')
            digits += in_.at(pos_++);
        while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_.at(pos_))))
            digits += in_.at(pos_++);
        const bool hasParameter = !digits.isEmpty() && digits != "-";
        const int parameter = hasParameter ? digits.toInt() : 0;
        if (pos_ < in_.size() && in_.at(pos_) == ' ')
            ++pos_;
        apply(word, hasParameter, parameter);
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\\': case '{': case '}': text(QString(QLatin1Char(c))); break;
        case '~': text(QString(QChar(0xa0))); break;
        case '*': state_.destination = Destination::Skip; break;
        case '\'': {
            bool ok = false;
            const int code = in_.mid(pos_, 2).toInt(&ok, 16);
            if (!ok)
                fail("bad \\'hh");
            pos_ += 2;
            text(QString(QChar(code)));  // Latin-1 is enough for tests
            break;
        }
        case '\r': case '\n': text(QStringLiteral("\n")); break;
        default: break;
        }
    }

    void apply(const QByteArray& word, bool hasParameter, int parameter)
    {
        if (word == "fonttbl") state_.destination = Destination::FontTable;
        else if (word == "colortbl") state_.destination = Destination::ColourTable;
        else if (word == "stylesheet" || word == "info" || word == "pict" || word == "header"
                 || word == "footer" || word == "generator")
            state_.destination = Destination::Skip;
        else if (word == "red") red_ = parameter;
        else if (word == "green") green_ = parameter;
        else if (word == "blue") blue_ = parameter;
        else if (word == "par" || word == "line") text(QStringLiteral("\n"));
        else if (word == "tab") text(QStringLiteral("\t"));
        else if (word == "cf") state_.colour = parameter;
        else if (word == "b") state_.bold = !hasParameter || parameter != 0;
        else if (word == "fs") state_.halfPoints = parameter;
        else if (word == "f") state_.font = parameter;
        else if (word == "plain") { state_.bold = false; state_.halfPoints = 24; state_.colour = 0; state_.font = 0; }
        else if (word == "uc") state_.unicodeSkip = parameter;
        else if (word == "u") unicode(parameter);
    }

    void unicode(int parameter)
    {
        text(QString(QChar(char16_t(parameter < 0 ? parameter + 0x10000 : parameter))));
        for (int i = 0; i < state_.unicodeSkip && pos_ < in_.size(); ++i) {
            if (in_.at(pos_) == '\\' && pos_ + 1 < in_.size() && in_.at(pos_ + 1) == '\'')
                pos_ += 4;
            else if (in_.at(pos_) == '{' || in_.at(pos_) == '}')
                break;
            else
                ++pos_;
        }
    }

    void text(const QString& t)
    {
        switch (state_.destination) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            if (t == QLatin1String(";")) {
                content_.fontTable << fontName_;
                fontName_.clear();
            } else {
                fontName_ += t;
            }
            return;
        case Destination::ColourTable:
            if (t == QLatin1String(";")) {
                content_.colourTable << (red_ < 0 ? QColor() : QColor(red_, green_, blue_));
                red_ = green_ = blue_ = -1;
            }
            return;
        case Destination::Text:
            break;
        }
        if (state_.colour < 0 || state_.colour >= std::max<qsizetype>(content_.colourTable.size(), 1))
            fail("colour index outside the colour table");
        if (!content_.fontTable.isEmpty() && (state_.font < 0 || state_.font >= content_.fontTable.size()))
            fail("font index outside the font table");
        const QColor colour = content_.colourTable.isEmpty() ? QColor() : content_.colourTable.at(state_.colour);
        const QString font = content_.fontTable.isEmpty() ? QString() : content_.fontTable.at(state_.font);
        if (!content_.runs.isEmpty()) {
            RtfRun& last = content_.runs.last();
            if (last.colour == colour && last.bold == state_.bold && last.halfPoints == state_.halfPoints
                && last.font == font) {
                last.text += t;
                return;
            }
        }
        content_.runs.append({t, colour, state_.bold, state_.halfPoints, font});
    }

    QByteArray in_;
    qsizetype pos_ = 0;
    State state_;
    std::vector<State> stack_;
    RtfContent content_;
    QString fontName_;
    int red_ = -1, green_ = -1, blue_ = -1;
};

} // namespace veldra::test
