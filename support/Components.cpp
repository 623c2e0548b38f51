#include "support/Components.h"

AboutBox& SystemComponents::aboutBox()
{
    if (!aboutBox_)
        aboutBox_ = std::make_unique<AboutBox>();
    return *aboutBox_;
}
