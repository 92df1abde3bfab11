-- A small sample hotel, dated from the day it is installed: three room
-- groups, twenty rooms of four types, day types with a year of calendar,
-- prices for every client type, a few clients and reservations.

INSERT INTO typy_pokoju_tab (typ_pokoje_id, nazev_typu_pokoje, pocet_luzek) VALUES
    (1, 'Jednolůžkový', 1),
    (2, 'Dvoulůžkový', 2),
    (3, 'Třílůžkový', 3),
    (4, 'Apartmá', 4);

INSERT INTO pokoje_tab (pokoj_id, cislo_pokoje, typ_pokoje_id) VALUES
    (1, '101', 1), (2, '102', 1), (3, '103', 2), (4, '104', 2),
    (5, '105', 2), (6, '106', 3), (7, '107', 3),
    (8, '201', 1), (9, '202', 2), (10, '203', 2), (11, '204', 2),
    (12, '205', 2), (13, '206', 3), (14, '207', 3),
    (15, '301', 4), (16, '302', 4), (17, '303', 4),
    (18, '304', 2), (19, '305', 2), (20, '306', 1);

INSERT INTO skupiny_pokoju_tab (skupina_pokoju_id, nazev_skupiny_pokoju) VALUES
    (1, '1. patro'), (2, '2. patro'), (3, 'Podkroví');

INSERT INTO skupiny_pokoju_propojeni_tab (skupina_pokoju_id, pokoj_id)
    SELECT 1, pokoj_id FROM pokoje_tab WHERE cislo_pokoje LIKE '1%';
INSERT INTO skupiny_pokoju_propojeni_tab (skupina_pokoju_id, pokoj_id)
    SELECT 2, pokoj_id FROM pokoje_tab WHERE cislo_pokoje LIKE '2%';
INSERT INTO skupiny_pokoju_propojeni_tab (skupina_pokoju_id, pokoj_id)
    SELECT 3, pokoj_id FROM pokoje_tab WHERE cislo_pokoje LIKE '3%';

INSERT INTO typy_dnu_tab (typ_dne_id, nazev_typu_dne, poradi) VALUES
    (1, 'Všední den', 20), (2, 'Víkend', 20), (3, 'Svátek', 10);

-- Friday and Saturday nights are weekend nights, the rest weekdays.
INSERT INTO kalendar_typy_dnu_tab (datum, typ_dne_id)
    WITH RECURSIVE dny(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM dny WHERE n < 365)
    SELECT CURDATE() + INTERVAL n DAY,
           IF(DAYOFWEEK(CURDATE() + INTERVAL n DAY) IN (6, 7), 2, 1) FROM dny;

-- Holidays are also in the calendar as holidays; their lower poradi wins.
INSERT INTO kalendar_typy_dnu_tab (datum, typ_dne_id)
    SELECT datum, 3 FROM kalendar_typy_dnu_tab
    WHERE DATE_FORMAT(datum, '%m-%d') IN ('01-01', '05-01', '05-08', '07-05', '07-06',
                                          '09-28', '10-28', '11-17', '12-24', '12-25', '12-26');

INSERT INTO ceny_pokoje_tab (typ_pokoje_id, typ_klienta_id, typ_dne_id, cena)
    SELECT t.typ_pokoje_id, k.typ_klienta_id, d.typ_dne_id,
           (600 + 500 * t.pocet_luzek) * (CASE d.typ_dne_id WHEN 1 THEN 1 WHEN 2 THEN 1.2 ELSE 1.5 END)
               * (CASE k.typ_klienta_id WHEN 3 THEN 0.9 ELSE 1 END)
    FROM typy_pokoju_tab t, typy_klientu_tab k, typy_dnu_tab d;

INSERT INTO klienti_tab (klient_id, typ_klienta_id, jmeno, telefon, email, stat, adresa, mesto, poznamka) VALUES
    (1, 2, 'Jan Novák', '+420 601 111 222', 'jan.novak@example.cz', 'Česká republika', 'Dlouhá 12', 'Praha', ''),
    (2, 2, 'Marie Svobodová', '+420 602 333 444', 'marie.svobodova@example.cz', 'Česká republika', 'Nádražní 5', 'Brno', ''),
    (3, 1, 'Petr Dvořák', '+420 603 555 666', 'petr.dvorak@example.cz', 'Česká republika', '', '', ''),
    (4, 3, 'Stavby Černý s.r.o.', '+420 604 777 888', 'recepce@cerny.example.cz', '', 'Průmyslová 3', 'Ostrava', 'Fakturovat měsíčně'),
    (5, 1, 'Anna Müller', '+49 30 1234567', 'anna.mueller@example.de', 'Německo', '', '', ''),
    (6, 2, 'Jiří Procházka', '+420 605 999 000', 'jiri.prochazka@example.cz', 'Česká republika', 'Krátká 7', 'Plzeň', '');

INSERT INTO objednavky_pokoje_tab (klient_id, cislo_objednavky, datum_objednavky, od_kdy, do_kdy, pokoj_id, cena) VALUES
    (1, 1, CURDATE() - INTERVAL 10 DAY, CURDATE() - INTERVAL 2 DAY, CURDATE() + INTERVAL 3 DAY, 3, 9600),
    (2, 2, CURDATE() - INTERVAL 5 DAY, CURDATE() + INTERVAL 1 DAY, CURDATE() + INTERVAL 4 DAY, 1, 4400),
    (3, 3, CURDATE() - INTERVAL 3 DAY, CURDATE() + INTERVAL 5 DAY, CURDATE() + INTERVAL 12 DAY, 9, 12800),
    (4, 4, CURDATE() - INTERVAL 20 DAY, CURDATE(), CURDATE() + INTERVAL 20 DAY, 6, 41580),
    (4, 4, CURDATE() - INTERVAL 20 DAY, CURDATE(), CURDATE() + INTERVAL 20 DAY, 7, 41580),
    (5, 5, CURDATE() - INTERVAL 1 DAY, CURDATE() + INTERVAL 8 DAY, CURDATE() + INTERVAL 9 DAY, 15, 5200),
    (6, 6, CURDATE(), CURDATE() + INTERVAL 14 DAY, CURDATE() + INTERVAL 21 DAY, 12, 12800),
    (1, 7, CURDATE(), CURDATE() + INTERVAL 25 DAY, CURDATE() + INTERVAL 28 DAY, 16, 10400),
    (2, 8, CURDATE(), CURDATE() + INTERVAL 2 DAY, CURDATE() + INTERVAL 2 DAY, 20, 1100),
    (3, 9, CURDATE(), CURDATE() + INTERVAL 10 DAY, CURDATE() + INTERVAL 17 DAY, 18, 12800),
    (6, 10, CURDATE(), CURDATE() + INTERVAL 18 DAY, CURDATE() + INTERVAL 24 DAY, 10, 11200);
