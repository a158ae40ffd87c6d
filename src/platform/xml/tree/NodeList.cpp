#include "platform/xml/tree/NodeList.h"

namespace veldra::xml {

Node NodeList::item(int index) const
{
    return index >= 0 && index < length() ? nodes_[static_cast<size_t>(index)] : Node();
}

} // namespace veldra::xml
