#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <libxml/tree.h>

#include <array>
#include <optional>

namespace veldra::word::detail {

class Styles;

inline constexpr int kLevels = 9;

struct LevelDef {
    int start = 1;
    QString format = QStringLiteral("decimal");
    QString text;                   // lvlText, with %1..%9 for the levels' numbers
    std::optional<int> restart;     // lvlRestart: 0 never, n after level n (1-based)
    bool legal = false;             // isLgl: every number shown in decimal
    bool pictureBullet = false;
    QString font;                   // the font the number or bullet is shown in
    QString paragraphStyle;         // pStyle: the style that puts paragraphs on this level
    std::optional<int> leftIndent;  // the indent of its paragraphs, in twentieths of a point
};

struct AbstractNumDef {
    QString id;
    QString multiLevelType;
    QString numStyleLink;           // a numbering style that holds the real definition
    std::array<LevelDef, kLevels> levels;
};

struct NumDef {
    QString abstractId;
    std::array<std::optional<int>, kLevels> startOverride;
    std::array<std::optional<LevelDef>, kLevels> levelOverride;
};

struct ListNumber {
    QString listString;
    int listType = 0;
    int level = 1;                  // 1-based
    std::optional<int> leftIndent;  // the level's indent of its paragraphs
};

// The numbering part and the counters a word processor keeps while it lays the document
// out. Counters belong to the abstract numbering, so lists (w:num) that share one continue
// each other; a list with a start override restarts those levels at its first paragraph.
// Call next() for the numbered paragraphs in document order.
class Numbering {
public:
    void read(xmlNode* numberingRoot, const Styles& styles);

    // The number of the next paragraph on list numId, level ilvl (0-based); nullopt when
    // the list is not defined (numId 0 cancels numbering). A list string is built no further
    // than one number past maxCharacters: a level text of thousands of "%1" repeated on
    // every paragraph would otherwise fill memory before the story's limit is checked.
    std::optional<ListNumber> next(int numId, int ilvl, qsizetype maxCharacters);
    // The level of a list whose level names this paragraph style (style-linked numbering).
    std::optional<int> levelForStyle(int numId, const QString& styleId) const;

    // Warnings met while numbering (unknown number formats), each once.
    const QStringList& warnings() const { return warnings_; }

private:
    struct Counters {
        std::array<int, kLevels> value{};
        std::array<bool, kLevels> used{};
    };

    const AbstractNumDef* abstractOf(const NumDef& num) const;
    LevelDef levelOf(const NumDef& num, const AbstractNumDef& abstract, int ilvl) const;
    int startOf(const NumDef& num, const AbstractNumDef& abstract, int ilvl) const;
    QString expand(const NumDef& num, const AbstractNumDef& abstract, const Counters& counters, int ilvl,
                   qsizetype maxCharacters);
    void restartBelow(const NumDef& num, const AbstractNumDef& abstract, Counters& counters, int ilvl) const;

    QHash<QString, AbstractNumDef> abstracts_;
    QHash<int, NumDef> nums_;
    QHash<QString, int> numOfStyle_;    // numbering style id → the numId it names
    QHash<QString, Counters> counters_;
    QSet<int> started_;
    QSet<QString> unknownFormats_;
    QStringList warnings_;
};

} // namespace veldra::word::detail
