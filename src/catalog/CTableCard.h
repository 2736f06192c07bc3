#pragma once
#include "catalog/CCardInterface.h"

// A model whose card does nothing but choose its table: every step is the
// base card's. The models below keep a class of their own, named after the
// model, so that a card's class still says which model it is.
template <const ModelTable& (*Table)()>
class CTableCard : public CCardInterface {
public:
    explicit CTableCard(std::int32_t typeCode) : CCardInterface(typeCode, Table()) {}
};

// The empty slot: no parameters, no live values.
class CCardNULL : public CCardInterface {
public:
    explicit CCardNULL(std::int32_t typeCode) : CCardInterface(typeCode, {}, {}) {}
};

// A model the registries do not know: no parameters, no live values.
class CCardUnknown : public CCardInterface {
public:
    explicit CCardUnknown(std::int32_t typeCode) : CCardInterface(typeCode, {}, {}) {}
};

// Digital modules.

// 16-point digital module as the station shows it without the station
// attribute: its points are read through the communication module.
class CCardDIO : public CTableCard<TableDIO> {
public:
    using CTableCard::CTableCard;
};

// 16-point digital input module.
class CCardHB58 : public CTableCard<TableHB58> {
public:
    using CTableCard::CTableCard;
};

// 16-point digital output module.
class CCardHK58 : public CTableCard<TableHK58> {
public:
    using CTableCard::CTableCard;
};

// Analog and counter modules without dependent parameters.

// Four-channel analog output module.
class CCardQH7W : public CTableCard<TableQH7W> {
public:
    using CTableCard::CTableCard;
};

// Four-channel analog input module with fixed base values.
class CCardHJ7W : public CTableCard<TableHJ7W> {
public:
    using CTableCard::CTableCard;
};

// Four-channel analog input module.
class CCardZKH7JW : public CTableCard<TableZKH7JW> {
public:
    using CTableCard::CTableCard;
};

// Two-channel counter module.
class CCardQB9W : public CTableCard<TableQB9W> {
public:
    using CTableCard::CTableCard;
};

// I/O modules that are network gateways.

// I/O module with a field network group.
class CCardBJWQ8W : public CTableCard<TableBJWQ8W> {
public:
    using CTableCard::CTableCard;
};

// I/O module with a field network group.
class CCardBHQB8W : public CTableCard<TableBHQB8W> {
public:
    using CTableCard::CTableCard;
};

// I/O module with a server, login and time settings.
class CCardBZKJ8W : public CTableCard<TableBZKJ8W> {
public:
    using CTableCard::CTableCard;
};

// Communication modules.

// Communication module: serial field bus (the default communication card).
class CCardHQBZ8 : public CTableCard<TableHQBZ8> {
public:
    using CTableCard::CTableCard;
};

// Communication module: serial field bus.
class CCardQZ52 : public CTableCard<TableQZ52> {
public:
    using CTableCard::CTableCard;
};

// Communication module: serial field bus.
class CCardWB52 : public CTableCard<TableWB52> {
public:
    using CTableCard::CTableCard;
};

// Communication module: TCP/IP network.
class CCardHQ8 : public CTableCard<TableHQ8> {
public:
    using CTableCard::CTableCard;
};

// Communication module: field network.
class CCardHJWQ8 : public CTableCard<TableHJWQ8> {
public:
    using CTableCard::CTableCard;
};

// Communication module: time-sensitive field network.
class CCardHJWB8 : public CTableCard<TableHJWB8> {
public:
    using CTableCard::CTableCard;
};
