#include "generation/building/AddSPLFromFile.h"

#include "app/log/Log.h"
#include "generation/FileCopy.h"
#include "platform/core/CountText.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/ui/WorkProgress.h"
#include "platform/xml/io/LoadOptions.h"
#include "platform/xml/tree/Document.h"
#include "platform/xml/tree/SubtreeSize.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <memory>

namespace veldra {

namespace {

const QString source = QStringLiteral("AddSPLFromFile");

qint64& copiedNodeCap()
{
    static qint64 cap = xml::kMaxOutsideFileNodes;
    return cap;
}

// The media reference of an observationMedia element; a media element without one is a
// failure of the build.
QString mediaReference(const xml::Node& media)
{
    const xml::Node reference = media.selectSingleNode(QStringLiteral("value/reference"));
    if (reference.isNull())
        throw VbError(err::General, source, QStringLiteral("A media element of the SPL has no value/reference."));
    return reference.getAttribute(QStringLiteral("value"));
}

void reportUnsafeReference(const QString& reference)
{
    WriteLog(log_category::Warning,
             QStringLiteral("Media reference is not a file name in the SPL file's folder, left alone: ") + reference);
}

class Merge {
public:
    Merge(const xml::Node& mergeElement, const xml::Document& target, const QString& outFile)
        : mergeElement_(mergeElement), target_(target), outputFolder_(folderWithSeparator(outFile))
    {
    }

    // False when the user stopped the merge; the media files it copied are removed then, and
    // when it fails.
    bool run()
    {
        fileName_ = mergeElement_.selectSingleNode(QStringLiteral("SPLFileName")).text();
        WriteLog(logSeparator(), QString());
        WriteLog(log_category::Information, QStringLiteral("Adding SPL from File: ") + fileName_);
        loadExisting(fileName_);
        sourceFolder_ = folderWithSeparator(fileName_);
        bool finished = false;
        try {
            finished = merge();
        } catch (...) {
            removeCreatedFiles();
            throw;
        }
        if (!finished) {
            removeCreatedFiles();
            return false;
        }
        WriteLog(log_category::Information, QStringLiteral("Finished adding SPL from File: ") + fileName_);
        WriteLog(log_category::Information, QStringLiteral("Important Note: The images that might be associated with the SPL must be "
                                             "placed in the SPL folder created."));
        return true;
    }

private:
    // The copying runs behind a progress window, a step for each media element taken and each
    // section and media element copied.
    bool merge()
    {
        const xml::NodeList media = existing_.selectNodes(QStringLiteral("//observationMedia"));
        const xml::NodeList components = existing_.selectNodes(componentPath());
        progress_ = std::make_unique<ui::WorkProgress>(QStringLiteral("Adding SPL from File\u2026"),
                                                       2 * qint64(media.length()) + components.length());
        if (!takeMedia(media) || !takeSections() || !placeMedia())
            return false;
        dropUnreferencedMedia();
        lowerCaseIdRoots();
        return true;
    }

    static QString componentPath() { return QStringLiteral("document/component/structuredBody/component"); }

    bool keepGoing() { return progress_->keepGoing(++stepsDone_); }

    // Counts what a copy of `node` will build before it is made: past the cap the merge ends.
    void willCopy(const xml::Node& node)
    {
        nodesCopied_ += xml::nodesWithin(node);
        if (nodesCopied_ <= copiedNodeCap())
            return;
        throw VbError(err::General, source,
                      QStringLiteral("The SPL file %1 is not added: its sections and media hold more than %2 nodes, the "
                                     "most a build copies from an SPL file. Omit sections of it or add a smaller SPL file.")
                          .arg(fileName_, countText(copiedNodeCap())));
    }

    void loadExisting(const QString& fileName)
    {
        if (existing_.load(fileName, xml::OutsideFile))
            return;
        const xml::ParseError& error = existing_.parseError();
        WriteLog(log_category::Error, QStringLiteral("The SPL file cannot be loaded: ") + error.reason.trimmed());
    }

    void copyMediaFile(const QString& reference)
    {
        if (!isPlainMediaFileName(reference)) {
            reportUnsafeReference(reference);
            return;
        }
        try {
            // A file that was in the output folder before is the user's, even when the copy
            // replaced it: it is never deleted below.
            const bool existed = QFileInfo::exists(outputFolder_ + reference);
            if (copyFileReplacing(sourceFolder_ + reference, outputFolder_ + reference) && !existed)
                createdFiles_.insert(reference);
        } catch (const VbError& e) {
            WriteLog(log_category::Error, e.source() + QStringLiteral(" - ") + QString::number(e.number())
                                                  + QStringLiteral(" - ") + e.description());
        }
    }

    bool takeMedia(const xml::NodeList& media)
    {
        if (media.length() == 0)
            return true;
        WriteLog(log_category::Information, QStringLiteral("Source SPL File contains Multi Media Elements, parsing..."));
        for (const xml::Node& element : media) {
            if (!keepGoing())
                return false;
            const QString reference = mediaReference(element);
            WriteLog(log_category::Processing, QStringLiteral("Copying File: ") + reference);
            copyMediaFile(reference);
            // Taken out, the wrapper stays usable until it is copied into the built SPL.
            const xml::Node wrapper = element.parentNode();
            mediaWrappers_.push_back(wrapper.parentNode().removeChild(wrapper));
        }
        return true;
    }

    bool omitted(const xml::Node& component, const xml::NodeList& omissions) const
    {
        const xml::Node code = component.selectSingleNode(QStringLiteral("section/code"));
        if (code.isNull() || !code.hasAttribute(QStringLiteral("displayName")))
            return false;
        const QString displayName = code.getAttribute(QStringLiteral("displayName")).toUpper();
        for (const xml::Node& name : omissions) {
            QString omission = name.text();
            // Line breaks are stored as LF (a CR LF pair reads back as one LF).
            omission.remove(QStringLiteral("\r\n"));
            omission.remove(QLatin1Char('\n'));
            if (displayName == omission.toUpper())
                return true;
        }
        return false;
    }

    static QString sectionLabel(const xml::Node& component)
    {
        const xml::Node code = component.selectSingleNode(QStringLiteral("section/code"));
        if (!code.isNull() && code.hasAttribute(QStringLiteral("displayName")))
            return code.getAttribute(QStringLiteral("displayName"));
        const QString noName = QStringLiteral("Section has no displayName");
        const xml::Node id = component.selectSingleNode(QStringLiteral("section/id"));
        if (!id.isNull() && id.hasAttribute(QStringLiteral("root")))
            return noName + QStringLiteral(": ") + id.getAttribute(QStringLiteral("root"));
        return noName;
    }

    bool takeSections()
    {
        const xml::Node insertionPoint = target_.selectSingleNode(componentPath() + QStringLiteral("[1]"));
        const xml::Node body = target_.selectSingleNode(QStringLiteral("document/component/structuredBody"));
        const xml::NodeList omissions = mergeElement_.selectNodes(QStringLiteral("OmitSections/SectionName"));
        for (const xml::Node& component : existing_.selectNodes(componentPath())) {
            if (!keepGoing())
                return false;
            const QString label = sectionLabel(component);
            if (omitted(component, omissions)) {
                WriteLog(log_category::OmitSection, label);
                continue;
            }
            if (body.isNull())
                throw VbError(err::General, source, QStringLiteral("The built SPL has no document/component/structuredBody."));
            willCopy(component);
            body.insertBefore(target_.importNode(component, true), insertionPoint);
            WriteLog(log_category::LoadSection, label);
        }
        return true;
    }

    bool placeMedia()
    {
        if (mediaWrappers_.empty())
            return true;
        const xml::Node firstSection =
            target_.selectSingleNode(QStringLiteral("/document/component/structuredBody/component/section"));
        if (firstSection.isNull())
            throw VbError(err::General, source, QStringLiteral("The built SPL has no section to hold the media elements."));
        for (const xml::Node& wrapper : mediaWrappers_) {
            if (!keepGoing())
                return false;
            willCopy(wrapper);
            firstSection.appendChild(target_.importNode(wrapper, true));
        }
        return true;
    }

    void dropUnreferencedMedia()
    {
        const xml::NodeList media = target_.selectNodes(QStringLiteral("//observationMedia"));
        if (media.length() == 0)
            return;
        WriteLog(log_category::Information, QStringLiteral("Checking for Multimedia Reference Correctness..."));
        // The references are gathered in one pass: a query per media element would walk the
        // whole SPL for each, which thousands of pictures turn into minutes.
        QSet<QString> referenced;
        for (const xml::Node& reference : target_.selectNodes(QStringLiteral("//renderMultiMedia/@referencedObject")))
            referenced.insert(reference.text());
        for (const xml::Node& element : media) {
            const QString id = element.getAttribute(QStringLiteral("ID"));
            if (id.isNull())
                throw VbError(err::General, source, QStringLiteral("A media element of the SPL has no ID."));
            if (referenced.contains(id))
                continue;
            const QString reference = mediaReference(element);
            WriteLog(log_category::Processing, QStringLiteral("Multi Media Element has no references, removing: ") + reference);
            deleteCopiedFile(reference);
            const xml::Node wrapper = element.parentNode();
            wrapper.parentNode().removeChild(wrapper);
        }
    }

    // Only a file this merge created in the output folder is deleted; files that were there
    // before, or that a reference outside the folder names, stay.
    void deleteCopiedFile(const QString& reference)
    {
        if (!isPlainMediaFileName(reference)) {
            reportUnsafeReference(reference);
            return;
        }
        if (createdFiles_.contains(reference))
            skip([&] { QFile::remove(outputFolder_ + reference); });
    }

    void removeCreatedFiles()
    {
        for (const QString& reference : std::as_const(createdFiles_))
            skip([&] { QFile::remove(outputFolder_ + reference); });
    }

    void lowerCaseIdRoots()
    {
        WriteLog(log_category::Information, QStringLiteral("Formatting GUIDs (lowercase)"));
        for (const xml::Node& id : target_.selectNodes(QStringLiteral("//id[@root]")))
            skip([&] { id.setAttribute(QStringLiteral("root"), id.getAttribute(QStringLiteral("root")).toLower()); });
    }

    xml::Node mergeElement_;
    xml::Document target_;
    xml::Document existing_;
    QString outputFolder_;
    QString sourceFolder_;
    QString fileName_;
    std::vector<xml::Node> mediaWrappers_;
    QSet<QString> createdFiles_;
    std::unique_ptr<ui::WorkProgress> progress_;
    qint64 stepsDone_ = 0;
    qint64 nodesCopied_ = 0;
};

} // namespace

bool AddSPLFromFile(const xml::Node& mergeElement, const xml::Document& target, const QString& outFile)
{
    return Merge(mergeElement, target, outFile).run();
}

void setCopiedNodeCapForTesting(qint64 cap)
{
    copiedNodeCap() = cap > 0 ? cap : xml::kMaxOutsideFileNodes;
}

bool isPlainMediaFileName(const QString& reference)
{
    if (reference.isEmpty() || reference == QLatin1String(".") || reference == QLatin1String(".."))
        return false;
    for (const QChar c : reference)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    return true;
}

} // namespace veldra
