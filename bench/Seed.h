#pragma once

#include <QDate>

class TMojeQuery;

namespace bench {

constexpr int rooms = 1000;
constexpr int roomTypes = 4;        // 250 rooms each
constexpr int clients = 100000;
constexpr int pastNumbers = 100000; // the past stays' reservation numbers start here

/**
 * The 1,000-room hotel: four room types of 250 rooms, every type priced for
 * client type 1 on every day type, a calendar of 550 days; every room booked
 * back to back over the coming year (about 20,000 stays, clients 1 to 200,
 * 100 stays each); rooms 1 to 100 in the group "Vše", all in "Celý hotel";
 * 100,000 clients. Returns the number of coming stays.
 */
int seedHotel(TMojeQuery &q, const QDate &today);

/** `count` stays of the past, of clients 201 on, evenly over the rooms, ending before the coming ones. */
void seedPast(TMojeQuery &q, const QDate &today, int count);

} // namespace bench
