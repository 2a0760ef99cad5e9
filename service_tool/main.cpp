// Tavrik, the service (commissioning) tool.
#include "service_tool/service_tool.h"

int main() { return vesk::runServiceTool(); }
