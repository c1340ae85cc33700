-- Where each justification stands in the quote's history: the state
-- history line it was written after (NRHISTSITU) and the server's time of
-- the write (DTHRGRAVOBS). DTHRHISTORCA is the day the screen gives, which
-- cannot place a text among the state changes of its day.
ALTER TABLE OBSJUSTORCA ADD COLUMN NRHISTSITU INTEGER;
ALTER TABLE OBSJUSTORCA ADD COLUMN DTHRGRAVOBS DOUBLE PRECISION;
ALTER TABLE HISTOBSJUSTORCA ADD COLUMN NRHISTSITU INTEGER;
ALTER TABLE HISTOBSJUSTORCA ADD COLUMN DTHRGRAVOBS DOUBLE PRECISION;
