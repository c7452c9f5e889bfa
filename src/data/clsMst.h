#pragma once

#include "data/clsData.h"

// The master database (producers, products, barcodes, day information), configured by the MST_ settings.
class clsMst : public clsData
{
public:
    clsMst();
    ~clsMst() override;
    void OpenCnn() override;
};
