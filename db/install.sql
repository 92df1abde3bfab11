-- Installation data: the client types and which client attributes the
-- new-client form asks for with each of them. The desk never writes these.

INSERT INTO typy_klientu_tab (typ_klienta_id, typ_klienta) VALUES
    (1, 'Host z webu'),
    (2, 'Individuální host'),
    (3, 'Firma');

INSERT INTO klient_zobrazit_tab
    (typ_klienta_id, jmeno, telefon, email, stat, adresa, mesto, poznamka) VALUES
    (1, 1, 2, 3, 4, 0, 0, 0),
    (2, 1, 4, 5, 6, 2, 3, 0),
    (3, 1, 4, 5, 0, 2, 3, 6);
