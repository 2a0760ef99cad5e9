// The parameter tables of both families, the model tables and the resets.
#pragma once
#include "settings/model_tables.h"
#include "settings/service_table.h"
#include "settings/user_table.h"
