Select Name.Seito_No, Name.Name, kashibo.Book_ID From kashibo, Name
  where Name.Name_ID=kashibo.Name_ID and kashidashiF='1'  and ISBN_ID=:PM