Select Name_ID, Name, Tel from Name
 where Name Like :PM1
 Order By Name_ID