#include "app/Screens.h"

#include "app/InitObj.h"
#include "data/DataEvents.h"
#include "settings/SetMenu.h"

#include <cstdlib>

void ConnectDataEvents(QObject *context)
{
    QObject::connect(&DataEvents::instance(), &DataEvents::connectionSettingsWanted, context,
                     [] { OpenConnectionSettings(nullptr); });
    QObject::connect(&DataEvents::instance(), &DataEvents::programEndWanted, context, [] {
        ReleaseObj();
        std::exit(0);
    });
}
