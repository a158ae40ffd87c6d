#include "app/log/LogFormat.h"

#include "app/log/Log.h"
#include "platform/core/AppInfo.h"

#include <QDate>
#include <cstdlib>

namespace veldra::log_format {

namespace {
const QString crlf = QStringLiteral("\r\n");
const QString lf = QStringLiteral("\n");

QString stars()
{
    return QString(128, QLatin1Char('*'));
}

QString indent()
{
    return QString(15, QLatin1Char(' '));
}
} // namespace

QString line(const QString& category, const QString& message)
{
    if (category == logSeparator())
        return category + lf;
    const qsizetype length = category.size();
    const qsizetype blanks = length < 15 ? 15 - length : std::abs(30 - length);
    return category + QString(blanks, QLatin1Char(' ')) + message + lf;
}

QColor colour(const QString& category)
{
    if (category == log_category::Error || category == log_category::FatalError)
        return QColor(255, 0, 0);
    if (category == log_category::Warning || category == log_category::OmitSection)
        return QColor(255, 100, 0);
    if (category == log_category::Information)
        return QColor(0, 125, 0);
    if (category == log_category::Reference)
        return QColor(0, 0, 125);
    return QColor(0, 0, 0);
}

QString header()
{
    return crlf + stars() + lf
           + indent() + app_info::title() + QStringLiteral(" Version ") + app_info::versionText() + lf
           + indent() + app_info::publisher() + QLatin1Char(' ') + QString::number(QDate::currentDate().year()) + lf
           + stars() + lf + lf;
}

QString disclaimer()
{
    static const char* const lines[] = {
        "THIS SOFTWARE AND THE SPL FILES IT PRODUCES ARE PROVIDED \"AS IS\" AND WITHOUT WARRANTY OF ANY KIND.",
        "ALL EXPRESS OR IMPLIED WARRANTIES ARE DISCLAIMED, INCLUDING BUT NOT LIMITED TO",
        "THE IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE.",
        "IN NO EVENT SHALL THE PUBLISHER BE LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL,",
        "SPECIAL, EXEMPLARY OR CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT LIMITED TO,",
        "PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, DATA OR PROFITS;",
        "OR BUSINESS INTERRUPTION) HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY,",
        "WHETHER IN CONTRACT, STRICT LIABILITY OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE),",
        "ARISING IN ANY WAY OUT OF THE USE OF THIS APPLICATION AND ITS SPL OUTPUT,",
        "EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE. REVIEW EVERY SPL FILE.",
    };
    QString text = crlf + crlf + stars() + crlf + QStringLiteral("DISCLAIMER:") + crlf + stars() + crlf;
    for (const char* l : lines)
        text += QLatin1String(l) + crlf;
    return text + crlf;
}

} // namespace veldra::log_format
