#pragma once

namespace veldra::word {

// The value a formatting property reads as when a range mixes several values.
// Callers test it for truth, so it counts as "set".
inline constexpr int Mixed = 9999999;

// Truth values as the automation interface gives them.
inline constexpr int True = -1;
inline constexpr int False = 0;

// The application version the converter compares a document's compatibility mode with.
inline constexpr const char* ApplicationVersion = "15.0";

// A document's compatibility mode when its settings name none: files of that age were
// written before the setting existed.
inline constexpr const char* DefaultCompatibilityMode = "12";

// Characters a range's text holds for marks that are not plain characters.
namespace text_mark {
inline constexpr char16_t NoteReference = 2;       // a footnote's or endnote's mark
inline constexpr char16_t ColumnBreak = 14;
inline constexpr char16_t NonBreakingHyphen = 30;
inline constexpr char16_t OptionalHyphen = 31;     // shown only where a line breaks
}

namespace list_type {
inline constexpr int None = 0;
inline constexpr int ListNumOnly = 1;   // never produced: LISTNUM fields are not read
inline constexpr int Bullet = 2;
inline constexpr int Simple = 3;
inline constexpr int Outline = 4;
inline constexpr int Mixed = 5;         // never produced
inline constexpr int PictureBullet = 6;
}

namespace alignment {
inline constexpr int Left = 0;
inline constexpr int Center = 1;
inline constexpr int Right = 2;
inline constexpr int Justify = 3;
inline constexpr int Distribute = 4;
inline constexpr int JustifyMedium = 5;
inline constexpr int JustifyHigh = 7;
inline constexpr int JustifyLow = 8;
inline constexpr int ThaiJustify = 9;
}

namespace vertical_alignment {
inline constexpr int Top = 0;
inline constexpr int Center = 1;
inline constexpr int Bottom = 3;
}

// Border indexes of a table cell.
namespace border {
inline constexpr int Top = -1;
inline constexpr int Left = -2;
inline constexpr int Bottom = -3;
inline constexpr int Right = -4;
}

namespace underline {
inline constexpr int None = 0;
inline constexpr int Single = 1;
inline constexpr int Words = 2;
inline constexpr int Double = 3;
inline constexpr int Dotted = 4;
inline constexpr int Thick = 6;
inline constexpr int Dash = 7;
inline constexpr int DotDash = 9;
inline constexpr int DotDotDash = 10;
inline constexpr int Wavy = 11;
}

namespace field_type {
inline constexpr int Empty = -1;        // a keyword this layer does not know
inline constexpr int Ref = 3;
inline constexpr int Seq = 12;
inline constexpr int Toc = 13;
inline constexpr int NumPages = 26;
inline constexpr int Date = 31;
inline constexpr int Time = 32;
inline constexpr int Page = 33;
inline constexpr int Quote = 35;
inline constexpr int PageRef = 37;
inline constexpr int Symbol = 57;
inline constexpr int MergeField = 59;
inline constexpr int IncludePicture = 67;
inline constexpr int NoteRef = 72;
inline constexpr int DocProperty = 85;
inline constexpr int Hyperlink = 88;
inline constexpr int ListNum = 89;
}

namespace hyperlink_type {
inline constexpr int Range = 0;         // a hyperlink on text
inline constexpr int Shape = 1;
inline constexpr int InlineShape = 2;
}

namespace inline_shape_type {
inline constexpr int EmbeddedOleObject = 1;
inline constexpr int Picture = 3;
inline constexpr int LinkedPicture = 4;
inline constexpr int Chart = 12;
inline constexpr int Diagram = 13;
inline constexpr int LockedCanvas = 14;
inline constexpr int SmartArt = 15;
}

// Error numbers raised by the layer's members (VbError), as the automation interface
// raises them, so the callers' messages read the same.
namespace word_error {
inline constexpr int NoSuchMember = 5941;   // "The requested member of the collection does not exist."
}

} // namespace veldra::word
