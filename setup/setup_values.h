// The configuration dialog's settings as plain values, and how they map to and from the
// configuration record: what the dialog shows for a record, and what Save makes of the controls.
#pragma once
#include <string>
#include <vector>

#include "cid_config.h"

// The selections of the dialog. A number field of -1 means that no option of its group is
// selected; an empty item text means that the list has no selection.
struct SetupValues {
    std::string lineItem; // selected item of the line count list, "01" to "32"
    std::string portItem; // selected item of the port list, "COM1" to "COM8" or "IP UDP/IP"
    int model = -1;       // 0, 1, 2: the checked unit model option
    int refresh = -1;     // 0: at the start of a call; 1: at the start and the end
    int level = -1;       // 0 none, 1 basic, 2 full inbound, 3 full inbound and outbound
    bool rawOutput = false;
    bool noLogWithheld = false;
    bool exclLog = false;
    bool exclShow = false;
    bool filterIp = false;
    std::string ipText; // the unit address field
};

// The items of the line count list, "01" to "32", and of the port list, in list order.
std::vector<std::string> LineCountItems();
std::vector<std::string> PortItems();

// The number of the port an item names: its last character after trimming spaces, read as a
// digit (COM3 gives 3); "IP UDP/IP" and an empty text give 0.
int PortNumberOfItem(const std::string &item);

// What the dialog shows for the record, with the selections of a model other than the first
// already corrected (a model that cannot log at the end of a call shows basic logging and
// refresh at the start).
SetupValues SetupValuesFromConfig(const CidConfig &cfg);

// A model other than the first offers neither full logging nor refresh at the end of a call.
void ApplyOtherModelSelections(SetupValues &values);

// The record Save writes: Options rebuilt from nothing, the bytes the dialog does not edit kept.
void SetupValuesToConfig(const SetupValues &values, CidConfig &cfg);
