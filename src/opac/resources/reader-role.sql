-- The web catalogue's role on a school's server database: it may only read
-- (SELECT), and only what the catalogue's pages need. Of the users it sees
-- the fixed number and the class alone (for the grade groups of the lists),
-- of the loans and reservations no name. Run as the school's own role, in
-- the school's database, after creating the login role:
--
--   CREATE ROLE school07_opac LOGIN PASSWORD '...';          -- as the superuser
--   psql -h HOST -p PORT -U school07 -d school07 -v role=school07_opac \
--        -f /usr/share/kashidashi/opac-reader-role.sql
GRANT CONNECT ON DATABASE :"DBNAME" TO :"role";
GRANT USAGE ON SCHEMA public TO :"role";
GRANT SELECT ON "Book", "NDC", "HKN", "SYOZOKU" TO :"role";
GRANT SELECT (kx_rowid, "BOOK_ID", "NAME_ID", "kashidashiF", "kashidashibi", "henkyakuyotei")
  ON "kashibo" TO :"role";
GRANT SELECT (kx_rowid, "Book_ID", "yoyaku_No", "ISBN_ID") ON "yoyaku" TO :"role";
GRANT SELECT (kx_rowid, "NAME_ID", "syozoku_ID") ON "Name" TO :"role";
