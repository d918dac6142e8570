Select book_ID,syomei2,henkyakuyotei
    From Book, kashibo
    where kashibo.kashidashiF="1" and  kashibo.Book_ID=book.book_ID and kashibo.NAME_ID= :PM1