// The stylesheet program: a program of its own beside Veldra's executable, so that a label
// whose transformation takes minutes or exhausts memory ends this process only, and the
// window that waits for it stays alive and can stop it. The preview starts it for each page:
//     veldra-xslt <stylesheet> <most steps> <most processor seconds> [<name> <value>]... < label.xml > page.html
// The label's comments and processing instructions are left out of what the stylesheet sees.
// Loads stay inside the stylesheet's folder. The exit status says how it went
// (platform/core/ChildExitStatus.h).
#include "platform/core/ChildExitStatus.h"
#include "platform/core/ProcessLimits.h"
#include "platform/xml/io/InputLimits.h"
#include "platform/xml/resources/ResourceLoader.h"
#include "platform/xml/resources/XsltProcessor.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstdint>
#include <new>
#include <optional>

#include <unistd.h>

namespace {

using namespace veldra;
using namespace veldra::xsltrun;

// The transformation, the label's tree and its copy, the page and the libraries fit well
// within this for any label the preview takes; more ends the process, not Veldra.
constexpr std::uint64_t AddressSpaceBytes = 900ull * 1024 * 1024;

void endAtTheTimeLimit(int)
{
    _exit(TimeLimit);
}

std::optional<std::uint64_t> count(const char* text)
{
    bool ok = false;
    const qulonglong value = QByteArray(text).toULongLong(&ok);
    return ok ? std::optional<std::uint64_t>(value) : std::nullopt;
}

xml::XsltParameters parametersFrom(int argc, char** argv)
{
    xml::XsltParameters parameters;
    for (int i = 4; i + 1 < argc; i += 2)
        parameters.append({QString::fromUtf8(argv[i]), QString::fromUtf8(argv[i + 1])});
    return parameters;
}

bool writeOut(const QByteArray& bytes)
{
    QFile out;
    return out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
}

int transform(const QString& stylesheet, std::uint64_t steps, const xml::XsltParameters& parameters)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return Refused;
    const QByteArray label = in.readAll();
    if (label.size() > xml::kMaxInputBytes)
        return Refused;
    const xml::LoadsConfinedTo confined(QFileInfo(stylesheet).absolutePath());
    const xml::XsltResult result =
        xml::XsltProcessor(steps).transformWithoutCommentsOrInstructions(stylesheet, label, parameters);
    if (result.outcome == xml::XsltResult::Outcome::StepLimit)
        return StepLimit;
    if (!result.ok())
        return writeOut(result.problem.toUtf8()) ? NotTransformed : Refused;
    return writeOut(result.text.toUtf8()) ? Transformed : Refused;
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<std::uint64_t> steps = argc >= 4 ? count(argv[2]) : std::nullopt;
    const std::optional<std::uint64_t> seconds = argc >= 4 ? count(argv[3]) : std::nullopt;
    if (!steps || !seconds || *seconds == 0 || argc % 2 != 0)
        return Refused;
    std::signal(SIGXCPU, endAtTheTimeLimit);
    if (!limitProcessResources(*seconds, AddressSpaceBytes))
        return Refused;
    // Memory past the limit ends the transformation with an exception (Qt's and the standard
    // library's allocations; libxml2 reports its own as a failure).
    int status = MemoryLimit;
    try {
        status = transform(QString::fromUtf8(argv[1]), *steps, parametersFrom(argc, argv));
    } catch (const std::bad_alloc&) {
    }
    // What the libraries keep for themselves goes back with the process.
    _exit(status);
}
