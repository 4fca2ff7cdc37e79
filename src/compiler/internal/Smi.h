#pragma once
// The one include of libsmi's header: it names a parameter `class`, which C++
// does not accept.

#define class class_
#include <smi.h>
#undef class
