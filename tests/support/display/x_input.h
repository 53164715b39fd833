#pragma once
#include "support/display/ui_driver.h"
