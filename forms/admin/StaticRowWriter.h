#pragma once
// Writes one row of the DHCP static pool with given value texts, without
// controls: the free values when a row is let go, or a row's old values
// when a later write of the same change was refused.
#include <array>
#include <string>

#include "binding/QvSNMPRequest2Edits.h"
#include "mib/DHCPVars.h"

class TListItem;

class StaticRowWriter : public QvSNMPRequest2Edits {
public:
    using Values = std::array<std::string, mib::staticpool::Count>;

    // Synchronous; index is the row's index column.
    StaticRowWriter(TWinControl* owner, const std::string& index, const Values& values);
    ~StaticRowWriter() override;

    // The free row's values.
    static Values FreeValues();
    // The values a static pool list view shows for a row (caption: index).
    static Values ValuesOf(const TListItem& item);

    void CollectValues() override;

private:
    std::string index_;
    Values values_;
};
