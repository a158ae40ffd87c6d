#pragma once

#include <QString>
#include <exception>
#include <string>

namespace veldra {

// The one error value of the program: a number, the source that raised it and a
// description. Procedures that pass an error on may append " - Name" to the source.
class VbError : public std::exception {
public:
    VbError(int number, QString source, QString description);

    int number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }

    // Appends " - name" to the source, as pass-through procedures do.
    VbError& appendSource(const QString& name);

    // "source number: description"
    QString text() const;

    const char* what() const noexcept override { return what_.c_str(); }

private:
    void refreshWhat();

    int number_;
    QString source_;
    QString description_;
    std::string what_;
};

// Error numbers of our own. Nothing outside this program reads them; they only
// keep one kind of failure apart from another in messages.
namespace err {
inline constexpr int General = 1000;
inline constexpr int FileNotFound = 1001;
inline constexpr int FileAccess = 1002;
inline constexpr int XmlParse = 1010;
inline constexpr int XmlQuery = 1011;
inline constexpr int XmlNode = 1012;
inline constexpr int XmlSchema = 1013;
inline constexpr int XmlTransform = 1014;
inline constexpr int Database = 1020;
inline constexpr int Archive = 1030;
inline constexpr int Image = 1040;
inline constexpr int Cancelled = 1050;
}

// Turns any exception into a VbError; a foreign exception gets `fallbackSource`.
VbError toVbError(const std::exception& e, const QString& fallbackSource);

} // namespace veldra
