#pragma once

namespace veldra {

struct FieldDialogRequest;

// Builds the field dialog the editor asks for (edit or add) and shows it, not modal, at the
// mouse pointer.
void ShowFieldDialog(const FieldDialogRequest& request);

} // namespace veldra
