#pragma once

#include "platform/word/detail/Properties.h"

#include <QHash>
#include <QString>

#include <libxml/tree.h>

namespace veldra::word::detail {

// Conditional formats of a table style that this model applies.
enum class TablePart { FirstRow, LastRow, FirstColumn, LastColumn, Count };

struct StyleRec {
    QString id;
    QString uiName;
    QString type;                       // "paragraph", "character", "table", "numbering"
    QString basedOn;
    RunProps run;
    ParaProps para;
    Borders tableBorders;               // table styles: tblPr/tblBorders
    Borders cellBorders;                // tcPr/tcBorders
    std::optional<int> verticalAlignment;
    RunProps partRun[static_cast<int>(TablePart::Count)];
    Borders partCellBorders[static_cast<int>(TablePart::Count)];
};

// The styles part: styles by id with their chains resolved on demand.
class Styles {
public:
    void read(xmlNode* stylesRoot);

    const StyleRec* find(const QString& id) const;
    // The style a paragraph without w:pStyle has.
    const StyleRec* defaultParagraphStyle() const;
    const StyleRec* defaultTableStyle() const;
    const RunProps& defaultRun() const { return defaultRun_; }
    const ParaProps& defaultPara() const { return defaultPara_; }

    // A style's properties with its basedOn chain folded in.
    RunProps chainRun(const QString& id) const;
    ParaProps chainPara(const QString& id) const;
    Borders chainTableBorders(const QString& id) const;
    Borders chainCellBorders(const QString& id) const;
    std::optional<int> chainVerticalAlignment(const QString& id) const;
    RunProps chainPartRun(const QString& id, TablePart part) const;
    Borders chainPartCellBorders(const QString& id, TablePart part) const;
    // The paragraph style whose name or id names the style numbering links to.
    const StyleRec* findByName(const QString& name) const;

private:
    template <typename T, typename Get> T chain(const QString& id, Get get) const;

    QHash<QString, StyleRec> styles_;
    QHash<QString, QString> idByName_;
    QString defaultParagraph_;
    QString defaultTable_;
    RunProps defaultRun_;
    ParaProps defaultPara_;
    mutable QHash<QString, RunProps> runCache_;
};

// The name the user sees for a stored style name: built-in styles are stored in lower
// case ("heading 1") and shown by their UI name ("Heading 1").
QString uiStyleName(const QString& storedName, bool customStyle);

} // namespace veldra::word::detail
