#include "engine/ScriptError.h"

#include "services/Messages.h"

namespace tomelet {

ScriptError MakeScriptError(int code, int messageNumber, std::string_view insertion) {
    std::string message = GetMessageText(messageNumber);
    if (const std::size_t place = message.find("%s"); place != std::string::npos)
        message.replace(place, 2, insertion);
    return {code, std::move(message)};
}

} // namespace tomelet
