#include "ServiceAnswer.h"

#include "log/Log.h"
#include "service/ParseProtocol.h"
#include "toolkit/UIAlertViewController.h"

namespace quillet::app {

namespace ServiceAnswer {

std::optional<quillet::NormalModel> decode(UIViewController* screen,
                                           const quillet::Result<std::string>& answer,
                                           const char* function,
                                           std::function<void()> onFailureClosed) {
    if (!answer) {
        QLOG_AS(function, answer.error().message);
        CMAlert::show(screen, "网络错误，请重试", "", false, std::move(onFailureClosed));
        return std::nullopt;
    }
    auto model = quillet::ParseProtocol<quillet::NormalModel>::parse(*answer);
    if (!model) {
        QLOG_AS(function, "转模型失败");
        CMAlert::show(screen, "数据异常，请重试", "", false, std::move(onFailureClosed));
        return std::nullopt;
    }
    return std::move(*model);
}

} // namespace ServiceAnswer

} // namespace quillet::app
