#include "platform/xml/resources/ResourceResolver.h"
#include "support/Fixtures.h"
#include "support/SkippedErrors.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <csignal>

// Widgets need an application object; tests run on the offscreen platform.
// The SPL schema and stylesheet resolve to the shared fixtures, so no test
// ever downloads them. An error that skip() swallows fails the test unless it expected one.
// A write past a file-size limit fails instead of ending the tests, as the program's start
// makes it fail (prepareProcess, whose own test starts from the default).
int main(int argc, char** argv)
{
    std::signal(SIGXFSZ, SIG_IGN);
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VeldraTests"));
    QApplication::setOrganizationName(QStringLiteral("VeldraTests"));
    veldra::xml::setLocalRootForTesting(veldra::xml::ResourceKind::Schema,
                                        veldra::test::fixture(QStringLiteral("spl-schema")));
    veldra::xml::setLocalRootForTesting(veldra::xml::ResourceKind::Stylesheet,
                                        veldra::test::fixture(QStringLiteral("spl-stylesheet-6.2")));
    veldra::test::failOnUnexpectedSkippedErrors();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
