#pragma once
#include "catalog/ParameterDefinition.h"

#include <span>

// The constant parameter and channel tables of one module model. Row order is
// behaviour: an upload reads the rows in this order, and every range row comes
// before the rows that a change of range resets.
struct ModelTable {
    // The table's own name, after the model it was written for ("DIO" for
    // the generic digital layout).
    const wchar_t* name;
    std::span<const ParameterDefinition> parameters;
    std::span<const ChannelDefinition> channels;
};

// One accessor per table; the model registry (catalog/ModelRegistry.h) says
// which model uses which.
const ModelTable& TableKB7HW();
const ModelTable& TableHB58();
const ModelTable& TableHK58();
const ModelTable& TableDIO();
const ModelTable& TableWB52();
const ModelTable& TableQZ52();
const ModelTable& TableBJWQ8W();
const ModelTable& TableBHQB8W();
const ModelTable& TableBZKJ8W();
const ModelTable& TableZKH7JW();
const ModelTable& TableHJ7W();
const ModelTable& TableQB9W();
const ModelTable& TableBQ7W();
const ModelTable& TableZQ7W();
const ModelTable& TableKZ9W();
const ModelTable& TableKZ7W();
const ModelTable& TableJZB7W();
const ModelTable& TableJK9W();
const ModelTable& TableJK7W();
const ModelTable& TableQH7W();
const ModelTable& TableQZ7W();
const ModelTable& TableHQ8();
const ModelTable& TableHQBZ8();
const ModelTable& TableHJWQ8();
const ModelTable& TableHJWB8();
const ModelTable& TableHZKJ8();
