#pragma once

#include <QByteArray>

// The fuzz targets, one input each. A target returns normally on any input the program
// handles as it should (refusing it included) and aborts, naming the broken promise, otherwise.
namespace veldra::fuzz {

// Loads the bytes as a file, and valid UTF-8 as text too; a loaded document is serialised.
void xmlLoad(const QByteArray& input);
// Saves a loaded document in its declared encoding and both layouts; every save must load again
// to the same tree.
void xmlSave(const QByteArray& input);
// Runs the text as a query over a small document; a query outside the dialect is refused.
void xmlQuery(const QByteArray& input);
// Opens the bytes as a .docx and walks every paragraph, character, field, table and picture.
void docxReader(const QByteArray& input);
// Opens the bytes as a workbook and reads a cell and a row of every sheet.
void xlsxReader(const QByteArray& input);
// Draws the bytes as a picture; the first byte picks the declared type and a crop.
void pictureRenderer(const QByteArray& input);

} // namespace veldra::fuzz
