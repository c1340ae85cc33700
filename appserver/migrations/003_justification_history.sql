-- Every justification a quote had before the current one: a new text never
-- overwrites an earlier one without keeping it here, oldest first by
-- NRHISTOBS. The current text stays in OBSJUSTORCA.
CREATE TABLE HISTOBSJUSTORCA (
    CDFILIAL     VARCHAR(4)  NOT NULL,
    NRORCAEVENTO VARCHAR(10) NOT NULL,
    NRSEQORCAEVE VARCHAR(2)  NOT NULL,
    NRHISTOBS    INTEGER     NOT NULL,
    TXOBSJUSTORC TEXT,
    DTHRHISTORCA DOUBLE PRECISION,
    CDOPERADOR   VARCHAR(10),
    PRIMARY KEY (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRHISTOBS)
);
