#pragma once
// A control binding for device tables whose free entries hold a fixed "empty"
// value (a MAC table of "000000000000" slots, say): its list view shows only
// the used entries, numbered 1, 2, 3 in the order the walk delivers them.
#include <string>

#include "binding/QvSNMPRequest2Edits.h"

class New_req2Edit : public QvSNMPRequest2Edits {
public:
    explicit New_req2Edit(TWinControl* owner);
    ~New_req2Edit() override;

    int rowNumber = 1;           // number of the next row appended
    std::string stopValue = "0"; // watched value of a free entry
    int watchedIndex = 1;        // the watched variable (1: first after the index)

    void RowReceived() override;
    // Adds one list-view item: the row number as its caption, then the values.
    virtual void AppendRow();
};
