#include "data/DataEvents.h"

DataEvents &DataEvents::instance()
{
    static DataEvents events;
    return events;
}
