#pragma once

#include "data/clsData.h"

// The transaction database (sales, settlements, payments), configured by the DB_ settings.
class clsDb : public clsData
{
public:
    clsDb();
    ~clsDb() override;
    void OpenCnn() override;
};
