#pragma once

#include <QStringList>

// The entries the window's port box starts with, in its order.
QStringList listedPorts();
