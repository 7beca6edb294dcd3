#include "ServiceAnswer.h"

#include "log/Log.h"
#include "service/ParseProtocol.h"
#include "toolkit/UIAlertViewController.h"

namespace quillet::app {

namespace ServiceAnswer {

std::optional<quillet::NormalModel> decode(UIViewController* screen,
                                           const std::optional<std::string>& data,
                                           const std::optional<std::string>& error,
                                           const char* function,
                                           std::function<void()> onFailureClosed) {
    if (error) {
        QLOG_AS(function, *error);
        CMAlert::show(screen, "网络错误，请重试", "", false, std::move(onFailureClosed));
        return std::nullopt;
    }
    auto model = quillet::ParseProtocol<quillet::NormalModel>::parse(data.value_or(""));
    if (!model) {
        QLOG_AS(function, "转模型失败");
        CMAlert::show(screen, "数据异常，请重试", "", false, std::move(onFailureClosed));
        return std::nullopt;
    }
    return model;
}

} // namespace ServiceAnswer

} // namespace quillet::app
