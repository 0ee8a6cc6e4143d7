[playlist]
NumberOfEntries=3
File2=http://host/b
Title2=Zwei
file1=a.mp3
TITLE1=Eins
File10=c.mp3
Version=2
