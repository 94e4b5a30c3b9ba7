#pragma once

#include "Effects/Pet/PetDesktop.h"

// The displays Qt knows and the pointer, turned into global y-up coordinates.
class QtPetDesktop final : public PetDesktop {
public:
    std::vector<PetScreen> screens() const override;
    std::optional<PetScreen> mainScreen() const override;
    QPointF pointer() const override;
};
