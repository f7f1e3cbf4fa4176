#include "forms/admin/StaticRowWriter.h"

#include "ui/ListView.h"

StaticRowWriter::StaticRowWriter(TWinControl* owner, const std::string& index,
                                 const Values& values)
    : QvSNMPRequest2Edits(owner), index_(index), values_(values) {
    request.vars = QvSNMPVarList(mib::dhcpStaticPoolTable, MVT_UMV, 1);
    mode = 0;
}

StaticRowWriter::~StaticRowWriter() { Shutdown(); }

StaticRowWriter::Values StaticRowWriter::FreeValues() {
    Values v;
    for (int i = 0; i < mib::staticpool::Count; ++i)
        v[i] = mib::staticpool::FreeRow[i];
    return v;
}

StaticRowWriter::Values StaticRowWriter::ValuesOf(const TListItem& item) {
    Values v;
    v[mib::staticpool::Index] = item.Caption();
    for (int i = 1; i < mib::staticpool::Count; ++i)
        v[i] = i - 1 < item.SubItems().Count() ? item.SubItems()[i - 1] : std::string();
    return v;
}

void StaticRowWriter::CollectValues() {
    *request.vars.Item(mib::staticpool::Index)->Value = index_;
    for (int i = 1; i < mib::staticpool::Count; ++i)
        *request.vars.Item(i)->Value = values_[i];
}
