#include "engine/MethodModel.h"

namespace quillet {

std::string MethodModel::selector() const {
    std::string text;
    for (const auto& element : elements) {
        text += element;
    }
    return text;
}

} // namespace quillet
