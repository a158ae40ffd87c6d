#include "generation/building/AddSPLFromFile.h"

#include "app/log/Log.h"
#include "generation/FileCopy.h"
#include "platform/core/Skip.h"
#include "platform/core/VbError.h"
#include "platform/xml/tree/Document.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace veldra {

namespace {

const QString source = QStringLiteral("AddSPLFromFile");

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

    void run()
    {
        const QString fileName = mergeElement_.selectSingleNode(QStringLiteral("SPLFileName")).text();
        WriteLog(logSeparator(), QString());
        WriteLog(log_category::Information, QStringLiteral("Adding SPL from File: ") + fileName);
        loadExisting(fileName);
        sourceFolder_ = folderWithSeparator(fileName);
        takeMedia();
        takeSections();
        placeMedia();
        dropUnreferencedMedia();
        lowerCaseIdRoots();
        WriteLog(log_category::Information, QStringLiteral("Finished adding SPL from File: ") + fileName);
        WriteLog(log_category::Information, QStringLiteral("Important Note: The images that might be associated with the SPL must be "
                                             "placed in the SPL folder created."));
    }

private:
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

    void takeMedia()
    {
        const xml::NodeList media = existing_.selectNodes(QStringLiteral("//observationMedia"));
        if (media.length() == 0)
            return;
        WriteLog(log_category::Information, QStringLiteral("Source SPL File contains Multi Media Elements, parsing..."));
        for (const xml::Node& element : media) {
            const QString reference = mediaReference(element);
            WriteLog(log_category::Processing, QStringLiteral("Copying File: ") + reference);
            copyMediaFile(reference);
            const xml::Node wrapper = element.parentNode();
            mediaWrappers_.push_back(wrapper.cloneNode(true));
            wrapper.parentNode().removeChild(wrapper);
        }
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

    void takeSections()
    {
        const QString componentPath = QStringLiteral("document/component/structuredBody/component");
        const xml::Node insertionPoint = target_.selectSingleNode(componentPath + QStringLiteral("[1]"));
        const xml::Node body = target_.selectSingleNode(QStringLiteral("document/component/structuredBody"));
        const xml::NodeList omissions = mergeElement_.selectNodes(QStringLiteral("OmitSections/SectionName"));
        for (const xml::Node& component : existing_.selectNodes(componentPath)) {
            const QString label = sectionLabel(component);
            if (omitted(component, omissions)) {
                WriteLog(log_category::OmitSection, label);
                continue;
            }
            if (body.isNull())
                throw VbError(err::General, source, QStringLiteral("The built SPL has no document/component/structuredBody."));
            body.insertBefore(target_.importNode(component, true), insertionPoint);
            WriteLog(log_category::LoadSection, label);
        }
    }

    void placeMedia()
    {
        if (mediaWrappers_.empty())
            return;
        const xml::Node firstSection =
            target_.selectSingleNode(QStringLiteral("/document/component/structuredBody/component/section"));
        if (firstSection.isNull())
            throw VbError(err::General, source, QStringLiteral("The built SPL has no section to hold the media elements."));
        for (const xml::Node& wrapper : mediaWrappers_)
            firstSection.appendChild(target_.importNode(wrapper, true));
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
    std::vector<xml::Node> mediaWrappers_;
    QSet<QString> createdFiles_;
};

} // namespace

void AddSPLFromFile(const xml::Node& mergeElement, const xml::Document& target, const QString& outFile)
{
    Merge(mergeElement, target, outFile).run();
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
