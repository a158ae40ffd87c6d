#include "splbuilder/clsSPL.h"

#include "splbuilder/SplNodes.h"

namespace veldra {

namespace {

// The element at a chain of first-child-by-name steps below `from`.
xml::Node headerElement(const xml::Node& from, const QString& steps)
{
    xml::Node node = from;
    for (const QString& name : steps.split(QLatin1Char('/'))) {
        node = spl::childElement(node, name.toLatin1());
        if (node.isNull())
            throw VbError(err::XmlNode, spl::errorSource, QStringLiteral("element not found: document/") + steps);
    }
    return node;
}

} // namespace

void clsSPL::SetUserData(const QString& SetID, const QString& VersioNumber, const QString& Title,
                         const QString& TitleEffectiveTime, const QString& TitleAvailabiltyTime,
                         const QString& CompanyName, const QString& CompanyAddress,
                         const QString& InitialApprovalCompanyName, const QString& InitialApprovalCompanyAddress,
                         const QString& InitialApprovaYear, const QString& AdverseEffectCompanyName,
                         const QString& LegalAuthenticatorFirstName, const QString& LegalAuthenticatorLastName,
                         const QString& AdverseEffectPhoneNumber, const QString& AdverseEffectWebAddress)
{
    const xml::Node root = spl::requiredNode(document(), QStringLiteral("document"));
    const auto text = [&](const QString& steps, const QString& value) { headerElement(root, steps).setText(value); };
    const auto attribute = [&](const QString& steps, const QString& name, const QString& value) {
        spl::setExistingAttribute(headerElement(root, steps), name, value);
    };
    const auto day = [&] { return today().toString(QStringLiteral("yyyyMMdd")); };

    text(QStringLiteral("title"), Title);
    attribute(QStringLiteral("effectiveTime"), QStringLiteral("value"), TitleEffectiveTime);
    attribute(QStringLiteral("availabilityTime"), QStringLiteral("value"), TitleAvailabiltyTime);
    attribute(QStringLiteral("setId"), QStringLiteral("root"), SetID);
    attribute(QStringLiteral("versionNumber"), QStringLiteral("value"), VersioNumber);
    attribute(QStringLiteral("author/time"), QStringLiteral("value"), day());
    text(QStringLiteral("author/assignedEntity/representedOrganization/name"), CompanyName);
    text(QStringLiteral("author/assignedEntity/representedOrganization/addr"), CompanyAddress);
    attribute(QStringLiteral("legalAuthenticator/time"), QStringLiteral("value"), day());
    text(QStringLiteral("legalAuthenticator/assignedEntity/assignedPerson/name/given"), LegalAuthenticatorFirstName);
    text(QStringLiteral("legalAuthenticator/assignedEntity/assignedPerson/name/family"), LegalAuthenticatorLastName);
    const xml::Node phone = headerElement(root, QStringLiteral("legalAuthenticator/assignedEntity/telecom"));
    spl::setExistingAttribute(phone, QStringLiteral("value"), AdverseEffectPhoneNumber);
    const xml::Node web = phone.nextSibling();
    if (web.isNull())
        throw VbError(err::XmlNode, spl::errorSource, QStringLiteral("element not found: the web address after the telecom"));
    spl::setExistingAttribute(web, QStringLiteral("value"), AdverseEffectWebAddress);
    text(QStringLiteral("legalAuthenticator/assignedEntity/representedOrganization/name"), AdverseEffectCompanyName);
    attribute(QStringLiteral("verifier/time"), QStringLiteral("value"), InitialApprovaYear);
    text(QStringLiteral("verifier/assignedEntity/representedOrganization/name"), InitialApprovalCompanyName);
    text(QStringLiteral("verifier/assignedEntity/representedOrganization/addr"), InitialApprovalCompanyAddress);
}

} // namespace veldra
