#pragma once

// Creates the data objects in their order: the local settings first, then the transaction and master
// databases, whose connections are read from the local settings.
void InitObj();
// Releases the data objects in the reverse order.
void ReleaseObj();
