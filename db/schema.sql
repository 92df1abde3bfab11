-- The tables of the hotel database (MariaDB/MySQL, InnoDB, utf8mb4).
-- The desk creates no tables on a shared server: run this file there once,
--   mariadb hotel < db/schema.sql
-- The desk keeps the references between tables itself; none is declared.

CREATE TABLE pokoje_tab (
    pokoj_id INT NOT NULL,
    cislo_pokoje VARCHAR(50) NOT NULL DEFAULT '',
    typ_pokoje_id INT NOT NULL DEFAULT 0,
    PRIMARY KEY (pokoj_id),
    KEY typ_pokoje (typ_pokoje_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE skupiny_pokoju_tab (
    skupina_pokoju_id INT NOT NULL,
    nazev_skupiny_pokoju VARCHAR(100) NOT NULL DEFAULT '',
    PRIMARY KEY (skupina_pokoju_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE skupiny_pokoju_propojeni_tab (
    skupina_pokoju_id INT NOT NULL,
    pokoj_id INT NOT NULL,
    PRIMARY KEY (skupina_pokoju_id, pokoj_id),
    KEY pokoj (pokoj_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE typy_pokoju_tab (
    typ_pokoje_id INT NOT NULL,
    nazev_typu_pokoje VARCHAR(100) NOT NULL DEFAULT '',
    pocet_luzek INT NOT NULL DEFAULT 0,
    PRIMARY KEY (typ_pokoje_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE typy_dnu_tab (
    typ_dne_id INT NOT NULL,
    nazev_typu_dne VARCHAR(100) NOT NULL DEFAULT '',
    poradi INT NOT NULL DEFAULT 100,
    PRIMARY KEY (typ_dne_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE kalendar_typy_dnu_tab (
    datum DATE NOT NULL,
    typ_dne_id INT NOT NULL,
    PRIMARY KEY (datum, typ_dne_id),
    KEY typ_dne (typ_dne_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE ceny_pokoje_tab (
    typ_pokoje_id INT NOT NULL,
    typ_klienta_id INT NOT NULL,
    typ_dne_id INT NOT NULL,
    cena DECIMAL(15,2) NOT NULL DEFAULT 0,
    PRIMARY KEY (typ_pokoje_id, typ_klienta_id, typ_dne_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE typy_klientu_tab (
    typ_klienta_id INT NOT NULL,
    typ_klienta VARCHAR(100) NOT NULL DEFAULT '',
    PRIMARY KEY (typ_klienta_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- One row per client type; every column but typ_klienta_id names a text
-- column of klienti_tab: 0 = not asked, otherwise its place in the form.
CREATE TABLE klient_zobrazit_tab (
    typ_klienta_id INT NOT NULL,
    jmeno INT NOT NULL DEFAULT 0,
    telefon INT NOT NULL DEFAULT 0,
    email INT NOT NULL DEFAULT 0,
    stat INT NOT NULL DEFAULT 0,
    adresa INT NOT NULL DEFAULT 0,
    mesto INT NOT NULL DEFAULT 0,
    poznamka INT NOT NULL DEFAULT 0,
    PRIMARY KEY (typ_klienta_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE klienti_tab (
    klient_id INT NOT NULL AUTO_INCREMENT,
    typ_klienta_id INT NOT NULL DEFAULT 0,
    jmeno VARCHAR(255) NOT NULL DEFAULT '',
    telefon VARCHAR(255) NOT NULL DEFAULT '',
    email VARCHAR(255) NOT NULL DEFAULT '',
    stat VARCHAR(255) NOT NULL DEFAULT '',
    adresa VARCHAR(255) NOT NULL DEFAULT '',
    mesto VARCHAR(255) NOT NULL DEFAULT '',
    poznamka VARCHAR(255) NOT NULL DEFAULT '',
    PRIMARY KEY (klient_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- One row per room of a reservation (a stay); a reservation of several
-- rooms has several rows with one number.
CREATE TABLE objednavky_pokoje_tab (
    klient_id INT NOT NULL,
    cislo_objednavky INT NOT NULL,
    datum_objednavky DATE NOT NULL,
    od_kdy DATE NOT NULL,
    do_kdy DATE NOT NULL,
    pokoj_id INT NOT NULL,
    cena DECIMAL(15,2) NOT NULL DEFAULT 0,
    PRIMARY KEY (cislo_objednavky, pokoj_id, od_kdy),
    KEY pokoj (pokoj_id, od_kdy),
    KEY obdobi (od_kdy, do_kdy),
    -- A stay shares a day with a span when it ends on or after its first day
    -- and begins by its last: these two read only the stays still ending
    -- then, never the years of history before. The export of occupancy
    -- reads its reservation numbers from this index alone.
    KEY obdobi_pokoj (do_kdy, od_kdy, pokoj_id, cislo_objednavky),
    KEY pokoj_konec (pokoj_id, do_kdy),
    KEY klient (klient_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Tables added since the first release are created IF NOT EXISTS: the desk
-- runs these statements at start-up on a database made before them.

-- The web reservations stored so far, by the web site's identifier, written
-- in one transaction with the reservation: a reservation the site offers
-- again (the desk's answer was lost) is answered without a second row.
CREATE TABLE IF NOT EXISTS webove_rezervace_tab (
    rezervaceid VARBINARY(255) NOT NULL,
    cislo_objednavky INT NOT NULL,
    typ_pokoje_id INT NOT NULL,
    od_kdy DATE NOT NULL,
    do_kdy DATE NOT NULL,
    datum_importu DATE NOT NULL,
    PRIMARY KEY (rezervaceid)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- The clients' change stamp: one row whose counter every insert or delete
-- of clients bumps in its own lock set, so a desk keeps its client list and
-- rereads it only when the counter moved.
CREATE TABLE IF NOT EXISTS klienti_zmeny_tab (
    id TINYINT NOT NULL,
    zmena BIGINT NOT NULL DEFAULT 0,
    PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Who changed what: every save that changes data writes its rows here in
-- its own transaction. The server writes the time and the account; the
-- desk its machine, a sentence and the ids concerned ("objednavka=123
-- klient=45"). Read newest first a page at a time, by id or by time.
CREATE TABLE IF NOT EXISTS historie_zmen_tab (
    id BIGINT NOT NULL AUTO_INCREMENT,
    kdy DATETIME NOT NULL,
    uzivatel VARCHAR(128) NOT NULL DEFAULT '',
    pocitac VARCHAR(255) NOT NULL DEFAULT '',
    popis TEXT NOT NULL,
    ids MEDIUMTEXT NOT NULL,
    PRIMARY KEY (id),
    KEY kdy (kdy, id),
    KEY uzivatel (uzivatel, id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- The rows a save locks: a save writes (bumps) the row of every subject it
-- reads to decide and changes ("pokoje_tab" for the rooms' set-up,
-- "pokoj:12" for one room's stays, "klient:45" for one client), so that
-- two saves of one subject wait for each other on one server and conflict
-- on a cluster, where one of them runs again.
CREATE TABLE IF NOT EXISTS zamky_tab (
    zamek VARCHAR(64) NOT NULL,
    zmena BIGINT NOT NULL DEFAULT 0,
    PRIMARY KEY (zamek)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Numbers given once across every desk and node: the last reservation
-- number and client id taken. A save takes numbers by updating its row.
CREATE TABLE IF NOT EXISTS ciselne_rady_tab (
    rada VARCHAR(40) NOT NULL,
    posledni BIGINT NOT NULL DEFAULT 0,
    PRIMARY KEY (rada)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- The hotel's particulars, one row (id 1) shared by every desk: the
-- operator, the facility for the police reports, the stay fee's rate and
-- how often it is paid, the bank account for payments by transfer.
CREATE TABLE IF NOT EXISTS hotel_udaje_tab (
    id TINYINT NOT NULL,
    provozovatel VARCHAR(255) NOT NULL DEFAULT '',
    provozovatel_adresa VARCHAR(255) NOT NULL DEFAULT '',
    ico VARCHAR(8) NOT NULL DEFAULT '',
    dic VARCHAR(14) NOT NULL DEFAULT '',
    platce_dph TINYINT NOT NULL DEFAULT 0,
    zarizeni VARCHAR(255) NOT NULL DEFAULT '',
    okres VARCHAR(100) NOT NULL DEFAULT '',
    obec VARCHAR(100) NOT NULL DEFAULT '',
    cast_obce VARCHAR(100) NOT NULL DEFAULT '',
    ulice VARCHAR(100) NOT NULL DEFAULT '',
    cislo_domovni VARCHAR(20) NOT NULL DEFAULT '',
    cislo_orientacni VARCHAR(20) NOT NULL DEFAULT '',
    psc VARCHAR(5) NOT NULL DEFAULT '',
    kontakt VARCHAR(255) NOT NULL DEFAULT '',
    idub VARCHAR(14) NOT NULL DEFAULT '',
    zkratka VARCHAR(5) NOT NULL DEFAULT '',
    poplatek_sazba DECIMAL(15,2) NOT NULL DEFAULT 0,
    poplatek_obdobi TINYINT NOT NULL DEFAULT 0,
    bankovni_ucet VARCHAR(34) NOT NULL DEFAULT '',
    PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- The reasons a guest is exempt from the stay fee, as the town's bylaw
-- names them (the desk computes "under 18" from the date of birth).
CREATE TABLE IF NOT EXISTS osvobozeni_tab (
    osvobozeni_id INT NOT NULL,
    nazev VARCHAR(100) NOT NULL DEFAULT '',
    PRIMARY KEY (osvobozeni_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- The people staying, per stay (a room of a reservation, by its key).
-- Countries are ISO 3166 alpha-3 codes, ucel the police's purpose code.
CREATE TABLE IF NOT EXISTS hoste_tab (
    host_id INT NOT NULL,
    cislo_objednavky INT NOT NULL,
    pokoj_id INT NOT NULL,
    od_kdy DATE NOT NULL,
    poradi INT NOT NULL DEFAULT 0,
    jmeno VARCHAR(100) NOT NULL DEFAULT '',
    prijmeni VARCHAR(100) NOT NULL DEFAULT '',
    datum_narozeni DATE NULL,
    statni_prislusnost CHAR(3) NOT NULL DEFAULT '',
    ulice VARCHAR(255) NOT NULL DEFAULT '',
    mesto VARCHAR(100) NOT NULL DEFAULT '',
    psc VARCHAR(20) NOT NULL DEFAULT '',
    stat CHAR(3) NOT NULL DEFAULT '',
    doklad_druh VARCHAR(20) NOT NULL DEFAULT '',
    doklad_cislo VARCHAR(40) NOT NULL DEFAULT '',
    vizum VARCHAR(40) NOT NULL DEFAULT '',
    ucel CHAR(2) NOT NULL DEFAULT '10',
    osvobozeni_id INT NOT NULL DEFAULT 0,
    PRIMARY KEY (host_id),
    KEY pobyt (cislo_objednavky, pokoj_id, od_kdy),
    KEY prijmeni (prijmeni, jmeno)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Arrivals and departures: a stay with a row here is checked in; with its
-- odjezd set, checked out.
CREATE TABLE IF NOT EXISTS prijezdy_tab (
    cislo_objednavky INT NOT NULL,
    pokoj_id INT NOT NULL,
    od_kdy DATE NOT NULL,
    prijezd DATETIME NOT NULL,
    odjezd DATETIME NULL,
    PRIMARY KEY (cislo_objednavky, pokoj_id, od_kdy),
    KEY pokoj (pokoj_id, odjezd)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Housekeeping: 0 clean, 1 dirty, 2 inspected; a room without a row is clean.
CREATE TABLE IF NOT EXISTS stav_pokoju_tab (
    pokoj_id INT NOT NULL,
    stav TINYINT NOT NULL DEFAULT 0,
    PRIMARY KEY (pokoj_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Rooms out of order for a span of days (both included), with the reason.
CREATE TABLE IF NOT EXISTS mimo_provoz_tab (
    mimo_provoz_id INT NOT NULL,
    pokoj_id INT NOT NULL,
    od_kdy DATE NOT NULL,
    do_kdy DATE NOT NULL,
    duvod VARCHAR(255) NOT NULL DEFAULT '',
    PRIMARY KEY (mimo_provoz_id),
    KEY pokoj (pokoj_id, do_kdy)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- The desks running now, one row each, kept fresh by the desk (tep, the
-- heartbeat) and removed when it closes; a row not refreshed for two
-- minutes is a desk that is gone. A restore refuses while a fresh row is
-- here. Not hotel data: backups leave it out.
CREATE TABLE IF NOT EXISTS recepce_tab (
    recepce_id CHAR(36) NOT NULL,
    spojeni BIGINT UNSIGNED NOT NULL DEFAULT 0,
    uzivatel VARCHAR(128) NOT NULL DEFAULT '',
    pocitac VARCHAR(255) NOT NULL DEFAULT '',
    spusteno DATETIME NOT NULL,
    tep DATETIME NOT NULL,
    PRIMARY KEY (recepce_id),
    KEY tep (tep)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Foreign guests reported to the police (Ubyport): when, by whom, and the
-- fingerprint of the particulars reported, so that a guest corrected since
-- is listed again.
CREATE TABLE IF NOT EXISTS ubyport_tab (
    host_id INT NOT NULL,
    nahlaseno DATETIME NOT NULL,
    uzivatel VARCHAR(128) NOT NULL DEFAULT '',
    otisk CHAR(40) NOT NULL DEFAULT '',
    PRIMARY KEY (host_id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- The earlier particulars of a guest corrected after the stay was checked
-- in: the books keep what was written, and show the entry as corrected
-- with who and when.
CREATE TABLE IF NOT EXISTS hoste_opravy_tab (
    id BIGINT NOT NULL AUTO_INCREMENT,
    host_id INT NOT NULL,
    kdy DATETIME NOT NULL,
    uzivatel VARCHAR(128) NOT NULL DEFAULT '',
    jmeno VARCHAR(100) NOT NULL DEFAULT '',
    prijmeni VARCHAR(100) NOT NULL DEFAULT '',
    datum_narozeni DATE NULL,
    statni_prislusnost CHAR(3) NOT NULL DEFAULT '',
    ulice VARCHAR(255) NOT NULL DEFAULT '',
    mesto VARCHAR(100) NOT NULL DEFAULT '',
    psc VARCHAR(20) NOT NULL DEFAULT '',
    stat CHAR(3) NOT NULL DEFAULT '',
    doklad_druh VARCHAR(20) NOT NULL DEFAULT '',
    doklad_cislo VARCHAR(40) NOT NULL DEFAULT '',
    vizum VARCHAR(40) NOT NULL DEFAULT '',
    ucel CHAR(2) NOT NULL DEFAULT '10',
    osvobozeni_id INT NOT NULL DEFAULT 0,
    PRIMARY KEY (id),
    KEY host (host_id, kdy)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
