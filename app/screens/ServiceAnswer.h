#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/Result.h"
#include "service/NormalModel.h"

namespace quillet::app {

class UIViewController;

// How every screen takes an answer of the word bank service: a transport failure or an answer
// that does not decode is logged under the caller's name and shown as one alert, whose closing
// runs `onFailureClosed`; otherwise the decoded answer is the caller's to act on.
namespace ServiceAnswer {
std::optional<quillet::NormalModel> decode(UIViewController* screen,
                                           const quillet::Result<std::string>& answer,
                                           const char* function,
                                           std::function<void()> onFailureClosed = {});
} // namespace ServiceAnswer

} // namespace quillet::app
