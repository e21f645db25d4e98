#include "about_box.h"

#include "resource_ids.h"

AboutBox::AboutBox() : Dialog(IDD_ABOUT_BOX, nullptr) {}

const EventTableBase* AboutBox::GetMessageMap() const {
    static const EventTable<AboutBox> table{};
    return &table;
}

void AboutBox::DoDataExchange(DataExchange&) {}
