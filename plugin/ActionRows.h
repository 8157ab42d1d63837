#pragma once

class ActionTable;

// Fills the plug-in's action table: one row per report screen that the host can open by name,
// in comparison order.
void AddActionRows(ActionTable& table);
