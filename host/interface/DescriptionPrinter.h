#pragma once

#include <ostream>

class HostCollection;

/** Writes what a plug-in described, in a form meant for people. */
void printDescription (std::ostream& out, const HostCollection& description);
