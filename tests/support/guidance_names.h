#pragma once

#include "model/guidancename.h"
#include "model/relation.h"

namespace zarno::test {

// The guidance-name creator, installed for every relation while this object
// lives (as the application installs the program's one). A fixture declares
// it as a member, so no test leaves a creator installed that is gone.
class InstalledGuidanceNames : public TGuidanceNameCreator
{
public:
    InstalledGuidanceNames() { TParents2Children::setGuidanceNameCreator(this); }
    ~InstalledGuidanceNames() { TParents2Children::setGuidanceNameCreator(nullptr); }
    InstalledGuidanceNames(const InstalledGuidanceNames &) = delete;
    InstalledGuidanceNames &operator=(const InstalledGuidanceNames &) = delete;
};

} // namespace zarno::test
