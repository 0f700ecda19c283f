#include "propertylostdelegates.h"

PropertyLostDelegates::PropertyLostDelegates(QWidget* parent)
    : QWidget(parent)
{
}
