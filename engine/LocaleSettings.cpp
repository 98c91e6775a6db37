#include "engine/LocaleSettings.h"

#include <utility>

namespace tomelet {

namespace {

LocaleSettings& processLocale() {
    static LocaleSettings locale;
    return locale;
}

} // namespace

const LocaleSettings& currentLocale() {
    return processLocale();
}

void setCurrentLocale(LocaleSettings locale) {
    processLocale() = std::move(locale);
}

} // namespace tomelet
