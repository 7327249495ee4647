#include "uiEffect.h"

#include <cmath>

UiEffect::UiEffect(HostLink& link) : AutoComp(linkedHostCallback) { getAeffect()->user = &link; }

void UiEffect::showGainReduction(float decibels) {
    if (!std::isfinite(decibels) || decibels < 0.0f) decibels = 0.0f;
    meterReading.store(std::pow(10.0, -decibels / 20.0), std::memory_order_relaxed);
}
