-- The operators the server lets in, each with a salted password hash
-- (PBKDF2-HMAC-SHA256 over DSSENHASAL with NRITERACOES rounds, both in hex).
-- A server with no rows here serves without passwords, on loopback only.
CREATE TABLE OPERADORSERVIDOR (
    CDOPERADOR   VARCHAR(12) NOT NULL PRIMARY KEY,
    DSSENHASAL   VARCHAR(64) NOT NULL,
    DSSENHAHASH  VARCHAR(128) NOT NULL,
    NRITERACOES  INTEGER     NOT NULL
);
